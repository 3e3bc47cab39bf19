#include "toolkit/controls/AboutFrame.h"

#include "framework/core/PluginMetaClass.h"
#include "toolkit/editor/PluginUIRoot.h"

namespace {

constexpr std::int32_t kDetailLineHeight = 11;

std::optional<std::string> CopyOf(const char* text) {
  return text ? std::optional<std::string>(text) : std::nullopt;
}

std::int32_t Half(std::int32_t v) { return std::int16_t(v) / 2; }

}  // namespace

void AboutFrame::Customizer::Attach(AboutFrame*) {}
void AboutFrame::Customizer::Shown(std::int32_t) {}
bool AboutFrame::Customizer::MayClose(std::int32_t) { return true; }
void AboutFrame::Customizer::AfterDraw(AboutFrame*, DrawContext&, bool) {}

AboutFrame::AboutFrame(Frame* parent, Frame* coveredPage, PluginUIRoot* root, std::int32_t bitmapId,
                       std::int32_t bitmapWidth, std::int32_t bitmapHeight, const char* version,
                       Point textPosition, const char* notice, const Color* background,
                       std::unique_ptr<Customizer> customizer)
    : Frame(parent, 0, 0, coveredPage ? coveredPage->GetWidth() : parent->GetWidth(),
            coveredPage ? coveredPage->GetHeight() : parent->GetHeight(), 0, 0),
      mCoveredPage(coveredPage),
      mUIRoot(root),
      mBitmapId(bitmapId),
      mBitmapWidth(bitmapWidth),
      mBitmapHeight(bitmapHeight),
      mTextPosition(textPosition),
      mVersion(CopyOf(version)),
      mNotice(CopyOf(notice)),
      mBackground(background ? *background : kBlack),
      mCustomizer(std::move(customizer)) {
  if (mCustomizer) mCustomizer->Attach(this);
}

void AboutFrame::SetVisible(bool on, bool noInvalidate) {
  Frame::SetVisible(on, noInvalidate);
  if (!IsVisible()) return;
  ++mShowCount;
  if (mCustomizer) mCustomizer->Shown(mShowCount);
}

void AboutFrame::Mouse(std::int32_t kind, std::int32_t, std::int32_t) {
  if (kind != kMouseDown) return;
  if (mUIRoot->IsShiftKeyDown()) {
    mDetails = !mDetails;
    Redraw(nullptr, true);
    return;
  }
  if (mCustomizer && !mCustomizer->MayClose(mShowCount)) return;
  mUIRoot->ShowPage(mCoveredPage);
  mDetails = false;
}

Rect AboutFrame::GetPictureRect() const {
  const Point origin{Half(GetWidth() - mBitmapWidth), Half(GetHeight() - mBitmapHeight)};
  return RectFromOriginSize(origin, mBitmapWidth, mBitmapHeight);
}

void AboutFrame::Draw(DrawContext& context, const Rect&) {
  if (mDetails)
    DrawDetails(context);
  else
    DrawFront(context);
  if (mCustomizer) mCustomizer->AfterDraw(this, context, mDetails);
}

void AboutFrame::DrawDetails(DrawContext& context) {
  context.SetForeColor(kWhite);
  context.FillRect(GetLocalRect());
  const ZEBPluginMetaClass* description = GetPluginMetaClass();
  const std::string text = description ? description->Describe() : std::string();
  context.SetFont(DrawContext::kSmallFont, kBlack);
  std::int32_t line = 0;
  for (std::size_t start = 0; start <= text.size();) {
    std::size_t end = text.find(';', start);
    if (end == std::string::npos) end = text.size();
    if (end > start) {
      ++line;
      context.MoveTo(Point{3, kDetailLineHeight * line});
      context.DrawString(text.substr(start, end - start).c_str());
    }
    start = end + 1;
  }
}

void AboutFrame::DrawFront(DrawContext& context) {
  const bool placed = mTextPosition != Point{0, 0};
  context.SetForeColor(mBackground);
  context.FillRect(GetLocalRect());
  context.DrawBitmapResource(mBitmapId, GetPictureRect());
  context.SetFont(DrawContext::kSmallFont, kBlack);
  if (mVersion) {
    const char* version = mVersion->c_str();
    context.MoveTo(placed ? mTextPosition : Point{GetWidth() - context.GetStringWidth(version), 10});
    context.DrawString(version);
  }
  if (mNotice) {
    context.SetForeColor(kWhite);
    context.FillRect(Rect{11, GetHeight() - 15, 251, GetHeight()});
    context.SetFont(DrawContext::kSmallFont, kBlack);
    context.MoveTo(Point{13, GetHeight() - 3});
    context.DrawString(mNotice->c_str());
  }
  if (const ZEBPluginMetaClass* description = GetPluginMetaClass()) {
    context.MoveTo(placed ? mTextPosition : Point{2, 10});
    context.DrawString(description->GetName().c_str());
  }
}
