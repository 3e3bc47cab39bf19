#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "toolkit/drawing/Color.h"
#include "toolkit/drawing/Geometry.h"

class OGWorld;
class TextEditDialogUserProxy;

// The surface every frame draws through. Coordinates given to drawing operations become device
// coordinates by subtracting the origin. The only concrete part is the list of keyed,
// prioritised exclusion rectangles that keep modal frames from being painted over by frames of
// lower priority. Editor thread only.
class DrawContext {
 public:
  // A clip region of one context's kind.
  class Region {
   public:
    virtual ~Region() = default;
    // Empties the region.
    virtual void Clear() = 0;
    virtual void SetRect(const Rect& rect) = 0;
    // this = other | this
    virtual void Union(const Region& other) = 0;
    // this = this - other
    virtual void Subtract(const Region& other) = 0;
    // this = other & this
    virtual void Intersect(const Region& other) = 0;
    virtual bool IsEmpty() const = 0;
  };

  // Receives the window's mouse events while it holds the window-level capture. Points are in
  // window client coordinates.
  class MouseCapturer {
   public:
    virtual void CapturedMouseMove(Point point) = 0;
    virtual void CapturedMouseUp(Point point) = 0;
    virtual void CapturedIdle() = 0;

   protected:
    ~MouseCapturer() = default;
  };

  enum FontIndex : std::int32_t { kNormalFont = 0, kSmallFont = 1 };

  DrawContext() = default;
  virtual ~DrawContext();
  DrawContext(const DrawContext&) = delete;
  DrawContext& operator=(const DrawContext&) = delete;

  virtual Rect GetBounds() const = 0;
  // Drawing brackets nest.
  virtual void BeginDraw() = 0;
  virtual void EndDraw() = 0;
  virtual void SetOrigin(Point origin) = 0;
  virtual Point GetMousePosition() const = 0;
  virtual void SetCursor(std::int16_t cursorId) = 0;
  virtual void RestoreCursor() = 0;
  virtual void SetForeColor(Color color) = 0;
  virtual void SetBackColor(Color color) = 0;
  virtual void MoveTo(Point point) = 0;
  // From the pen to the point, both end points included; the pen moves there.
  virtual void LineTo(Point point) = 0;
  // Connected line through the first count points (at most as many as both vectors hold).
  virtual void PolyLineTo(const std::vector<std::int32_t>& xs, const std::vector<std::int32_t>& ys,
                          std::int32_t count) = 0;
  virtual void FillRect(const Rect& rect) = 0;
  virtual void FillEllipse(const Rect& rect) = 0;
  virtual void FrameEllipse(const Rect& rect) = 0;
  virtual void FrameRect(const Rect& rect) = 0;
  // Selects the font and sets the fore colour; an unknown index keeps the font.
  virtual void SetFont(std::int32_t fontIndex, Color color) = 0;
  // Bytes are cp1252; the baseline is at the pen.
  virtual void DrawString(const char* text) = 0;
  virtual void DrawTextInRect(const char* text, const Rect& rect) = 0;
  virtual std::int32_t GetStringWidth(const char* text) = 0;
  virtual void DrawBitmapResource(std::int32_t bitmapId, const Rect& rect) = 0;
  // Fore colour black, back colour white.
  virtual void ResetColors() = 0;
  static constexpr bool kResetColors = true, kKeepColors = false;
  virtual void CopyFromWorld(const OGWorld& world, const Rect& source, Point destination,
                             bool resetColors) = 0;
  virtual void CopyMasked(const OGWorld& world, const Rect& source, const OGWorld& mask, Point maskPoint,
                          Point destination) = 0;
  virtual Color GetPixelColor(Point point) = 0;
  virtual Rect GetTextBox(const Rect& rect, const char* text) = 0;
  virtual bool IsControlKeyDown() const = 0;
  virtual bool IsShiftKeyDown() const = 0;
  virtual bool IsControlShiftDown() const = 0;
  virtual bool IsExtraModifierDown() const = 0;
  virtual void SetMouseCapturer(MouseCapturer* capturer) = 0;
  virtual void ClearMouseCapturer() = 0;
  virtual void ValidateRect(const Rect& rect) = 0;
  virtual void InvalidateRect(const Rect& rect) = 0;
  // In-place text entry over the rect (window coordinates). The context owns the proxy until the
  // edit ends; one without an edit field drops it at once, and the edit reports nothing.
  virtual void BeginTextEdit(const Rect& rect, const std::string& text,
                             std::unique_ptr<TextEditDialogUserProxy> proxy);

  // key: the frame that owns the entry. A key already present keeps its entry.
  virtual void AddExclusionRect(const void* key, const Rect& rect, std::int32_t priority);
  virtual void RemoveExclusionRect(const void* key);
  // Marks the key's entry as the one drawing: only entries after it stay excluded.
  virtual void UpdateExclusionRect(const void* key, bool drawing);
  virtual void ClearExclusionRects();

  virtual void SetClipRect(const Rect& rect) = 0;
  // The rect minus the origin.
  virtual Rect ToDevice(const Rect& rect) const = 0;
  // An empty region of this context's kind.
  virtual std::unique_ptr<Region> NewRegion() const = 0;
  virtual void SetClipRegion(const Region& region) = 0;

  // The clip that frames use: the rect less every excluded rectangle.
  void ClipToRect(const Rect& rect);

  // The region as last rebuilt; null while the list is empty.
  const Region* GetExclusionRegion() const { return mExclusionRegion.get(); }

 private:
  struct ExclusionEntry {
    Rect rect{};
    std::int32_t priority{0};
    const void* key{nullptr};
    bool drawing{false};
  };

  void RebuildExclusionRegion();

  std::vector<ExclusionEntry> mExclusions{};
  std::unique_ptr<Region> mExclusionRegion{};
};
