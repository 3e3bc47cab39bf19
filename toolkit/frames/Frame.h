#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "toolkit/drawing/DrawContext.h"
#include "toolkit/frames/FrameOverlay.h"

struct MessageClass;
class PluginUIRoot;
class FrameWatch;

// A rectangle of the editor: a node of the frame tree under the editor root's root frame. A frame
// never paints outside a redraw: a change invalidates it, and the root redraws what is invalid
// when it opens a drawing scope. Its parent owns it (create children with new). Lives on the
// editor thread; publishes its mouse events on its own message class.
class Frame {
 public:
  enum Flags : std::uint32_t {
    kAnchorLeft = 0x1,
    kAnchorTop = 0x2,
    kAnchorRight = 0x4,
    kAnchorBottom = 0x8,
    kAnchorMask = 0xF,
    kHoverMoves = 0x10,  // move events while the mouse is over it, without the capture
    kInvalidateOnActive = 0x20,
    kTransparent = 0x80,              // redrawn by redrawing the parent over the same area
    kBuffered = 0x100,                // drawn into the back buffer, then copied to the window
    kExclusionPriorityMask = 0x3000,  // 1 to 3: a modal frame
  };

  // The kinds are also the codes published on the frame's message class.
  enum MouseKind : std::int32_t {
    kMouseDown = 0,
    kMouseUp = 1,
    kMouseEnter = 2,
    kMouseLeave = 3,
    kMouseMove = 4,
    kMouseDownDisabled = 5,
    kFrameDestroyed = 6,
    kMouseOther = -65536,
  };

  struct MouseEvent {
    std::int32_t kind{kMouseDown};
    std::int32_t x{0};  // local
    std::int32_t y{0};
  };

  // Named last arguments of SetVisible (noInvalidate), FindFrameAt (visibleOnly), Redraw
  // (rectIsLocal) and SetCursor (force).
  static constexpr bool kNoInvalidate = true, kThenInvalidate = false;
  static constexpr bool kVisibleOnly = true;
  static constexpr bool kLocalRect = true;
  static constexpr bool kOnlyIfOver = false;

  Frame(Frame* parent, std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height,
        std::uint32_t flags, std::int32_t id);
  // The root frame of an editor root.
  Frame(PluginUIRoot* root, std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height,
        std::uint32_t flags, std::int32_t id);
  virtual ~Frame();
  Frame(const Frame&) = delete;
  Frame& operator=(const Frame&) = delete;

  virtual MessageClass* GetMsgClass() const;
  // Draws now inside a drawing scope, else invalidates. rect null: the whole frame.
  virtual void Redraw(const Rect* rect, bool rectIsLocal);
  virtual void SetPosition(std::int32_t x, std::int32_t y);
  virtual void SetSize(std::int32_t width, std::int32_t height, bool invalidate);
  virtual void SetBounds(std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height,
                         bool invalidate);
  virtual void SetVisible(bool on, bool noInvalidate);
  virtual void UpdateExclusionRect();
  virtual bool IsVisible() const;
  virtual void SetEnabled(bool on);
  virtual std::int32_t GetId() const;
  virtual void SetCursor(std::int16_t cursorId, bool force);
  virtual bool RestoreCursor();
  virtual void Draw(DrawContext& context, const Rect& area);
  virtual void Mouse(std::int32_t kind, std::int32_t x, std::int32_t y);
  virtual void ActiveChanged(bool on);
  virtual void Resized();
  virtual void WillMove();
  virtual void Moved();
  virtual void LayoutChildren(bool invalidate);
  virtual void SetActive(bool on);
  // Global point; the first child (in list order) that is hit, else this frame, else null.
  virtual Frame* FindFrameAt(std::int32_t x, std::int32_t y, bool visibleOnly);
  virtual void ProcessMouseEvent(const MouseEvent& event);
  virtual void BeginDraw(const Rect& area);
  virtual void EndDraw(const Rect& area);
  virtual void AfterBlit();
  virtual void UpdateGlobalRect();
  // Hook: the frame, or an ancestor, was shown or hidden.
  virtual void EffectiveVisibilityChanged();

  void Invalidate();
  void CaptureMouse();
  void ReleaseMouse();
  // Answers the previous overlay.
  std::unique_ptr<FrameOverlay> SetOverlay(std::unique_ptr<FrameOverlay> overlay);
  std::unique_ptr<FrameOverlay> TakeOverlay();
  Rect GetTextBox(const char* text, bool redraw);
  bool IsEnabled() const { return mEnabled; }

  Point GetGlobalOrigin() const;
  void LocalToGlobal(Rect& rect) const;
  void LocalToGlobal(Point& point) const;
  void GlobalToLocal(Rect& rect) const;
  void GlobalToLocal(Point& point) const;
  void ToParent(Rect& rect) const;

  Frame* GetParent() const { return mParent; }
  PluginUIRoot* GetRoot() const { return mRoot; }
  const std::vector<Frame*>& GetChildren() const { return mChildren; }
  DrawContext* GetDrawContext() const { return mDrawContext; }
  FrameOverlay* GetOverlay() const { return mOverlay.get(); }
  std::uint32_t GetFlags() const { return mFlags; }
  std::int32_t GetExclusionPriority() const { return std::int32_t((mFlags >> 12) & 3); }
  std::int32_t GetX() const { return mX; }
  std::int32_t GetY() const { return mY; }
  std::int32_t GetWidth() const { return mWidth; }
  std::int32_t GetHeight() const { return mHeight; }
  Rect GetLocalRect() const { return mLocalRect; }
  Rect GetGlobalRect() const { return mGlobalRect; }
  Rect GetVisibleRect() const { return mVisibleRect; }
  bool IsEffectivelyVisible() const { return mEffectivelyVisible; }
  bool IsActive() const { return mActive; }
  bool IsMouseOver() const { return mMouseOver; }

 protected:
  // Added to the position of every child at its construction.
  void SetChildOffset(Point offset) { mChildOffset = offset; }
  // From now on the frame gets move events while the mouse is over it.
  void EnableHoverMoves() { mFlags |= kHoverMoves; }

 private:
  void Construct();
  // Takes the frame out of every list it joined; its children are not touched.
  void Detach() noexcept;
  void ComputeMargins();
  void UpdateVisibleRects();
  void UpdateEffectiveVisibility();
  void ForEachDescendant(void (Frame::*step)());

  friend class FrameWatch;

  std::uint32_t mFlags{0};
  bool mRedrawnByParent{false};
  std::vector<Frame*> mChildren{};
  Point mChildOffset{};
  MessageClass* mMsgClass{nullptr};
  PluginUIRoot* mRoot{nullptr};
  Rect mGlobalRect{};
  std::int32_t mX{0};
  std::int32_t mY{0};
  std::int32_t mWidth{0};
  std::int32_t mHeight{0};
  Rect mLocalRect{};
  Rect mVisibleRect{};
  std::int32_t mMarginLeft{0};
  std::int32_t mMarginTop{0};
  std::int32_t mMarginRight{0};
  std::int32_t mMarginBottom{0};
  std::int32_t mId{0};
  bool mMouseOver{false};
  bool mActive{false};
  bool mEnabled{false};
  bool mVisible{false};
  bool mEffectivelyVisible{false};
  bool mCursorSet{false};
  std::int16_t mCursorId{0};
  DrawContext* mDrawContext{nullptr};
  std::unique_ptr<FrameOverlay> mOverlay{};
  Frame* mParent{nullptr};
  FrameWatch* mWatch{nullptr};  // the innermost watch on the stack, if any
};

// Tells a caller whether the frame was destroyed while the watch stood: a handler called from a
// frame may delete it, and nothing may touch the frame afterwards. Only on the stack, around such
// a call; watches nest.
class FrameWatch {
 public:
  explicit FrameWatch(Frame& frame);
  ~FrameWatch();
  FrameWatch(const FrameWatch&) = delete;
  FrameWatch& operator=(const FrameWatch&) = delete;

  bool IsGone() const { return mFrame == nullptr; }

 private:
  friend class Frame;

  Frame* mFrame{nullptr};
  FrameWatch* mOuter{nullptr};
};
