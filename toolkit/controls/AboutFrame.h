#pragma once

#include <memory>
#include <optional>
#include <string>

#include "toolkit/frames/Frame.h"

// The editor's about page: a picture centred on a plain background with the version, the
// product's name and a notice line. A click returns to the covered page; a Shift-click toggles a
// details view of the product's description. Holds its own copies of the texts. Editor thread
// only.
class AboutFrame : public Frame {
 public:
  // Hooks for a product that wants more; every one does nothing by default.
  class Customizer {
   public:
    virtual ~Customizer() = default;
    virtual void Attach(AboutFrame* frame);
    virtual void Shown(std::int32_t showCount);
    // False keeps the page open on a plain click.
    virtual bool MayClose(std::int32_t showCount);
    virtual void AfterDraw(AboutFrame* frame, DrawContext& context, bool details);
  };

  // The page covers coveredPage and takes its size. Null texts are not drawn; a text position of
  // (0, 0) puts the version at the top right and the name at the top left. Without a background
  // colour, black. The customizer is owned from the start, also when its Attach throws.
  AboutFrame(Frame* parent, Frame* coveredPage, PluginUIRoot* root, std::int32_t bitmapId,
             std::int32_t bitmapWidth, std::int32_t bitmapHeight, const char* version, Point textPosition,
             const char* notice, const Color* background, std::unique_ptr<Customizer> customizer);

  void SetVisible(bool on, bool noInvalidate) override;
  void Draw(DrawContext& context, const Rect& area) override;
  void Mouse(std::int32_t kind, std::int32_t x, std::int32_t y) override;

  bool IsShowingDetails() const { return mDetails; }
  std::int32_t GetShowCount() const { return mShowCount; }
  // Where the picture goes: centred, in 16-bit halves.
  Rect GetPictureRect() const;

 private:
  void DrawDetails(DrawContext& context);
  void DrawFront(DrawContext& context);

  bool mDetails{false};
  Frame* mCoveredPage{nullptr};
  PluginUIRoot* mUIRoot{nullptr};
  std::int32_t mBitmapId{0};
  std::int32_t mBitmapWidth{0};
  std::int32_t mBitmapHeight{0};
  Point mTextPosition{};
  std::optional<std::string> mVersion{};
  std::optional<std::string> mNotice{};
  Color mBackground{kBlack};
  std::unique_ptr<Customizer> mCustomizer{};
  std::int32_t mShowCount{0};
};
