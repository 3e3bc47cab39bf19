#include "toolkit/editor/ErrorFrame.h"

#include "framework/services/TimerManager.h"
#include "toolkit/drawing/BitmapStore.h"
#include "toolkit/editor/PluginUIRoot.h"

namespace {

constexpr std::uint32_t kModal = 0x2000;  // exclusion priority 2
constexpr std::int32_t kOneLineWidth = 230;
constexpr Rect kWrappedText{15, 22, 244, 82};

std::string PanelText(const char* message, const char* detail) {
  std::string text = message ? message : "<unknown error>";
  if (detail && *detail) text += std::string("\n\n") + detail;
  return text;
}

}  // namespace

ErrorFrame::ErrorFrame(PluginUIRoot* root, const char* message, const char* detail, std::int32_t code,
                       std::int32_t type)
    : Frame(root->GetRootFrame(), root->GetRootFrame()->GetWidth() / 2 - kWidth / 2,
            root->GetRootFrame()->GetHeight() / 2 - 75, kWidth, kHeight, kModal, 0),
      TimerClient<ErrorFrame>(root->GetPluginServices(), this),
      mText(PanelText(message, detail)),
      mCode(code),
      mType(type) {}

ErrorFrame::~ErrorFrame() = default;

void ErrorFrame::Draw(DrawContext& context, const Rect&) {
  const Rect local = GetLocalRect();
  context.SetForeColor(kWhite);
  context.FillRect(local);
  const std::int32_t bitmap = mType == 1 ? kInformationBitmap : kAlertBitmap;
  // A library without the panel's bitmaps still shows the text.
  if (FindBitmapResource(bitmap)) context.DrawBitmapResource(bitmap, local);
  context.SetFont(DrawContext::kSmallFont, kBlack);
  const std::int32_t width = context.GetStringWidth(mText.c_str());
  // A line break always needs the wrapped layout.
  if (width < kOneLineWidth && mText.find('\n') == std::string::npos) {
    context.MoveTo(Point{(229 - width) / 2 + 15, 50});
    context.DrawString(mText.c_str());
  } else {
    context.DrawTextInRect(mText.c_str(), kWrappedText);
  }
}

void ErrorFrame::Mouse(std::int32_t kind, std::int32_t, std::int32_t) {
  // A second press on a panel that is going already changes nothing.
  if (kind != kMouseDown || mClosing) return;
  mClosing = true;
  AddTimer(TimerManager::kOneShot, 0, &ErrorFrame::Remove, 0);
}

void ErrorFrame::Remove() { delete this; }
