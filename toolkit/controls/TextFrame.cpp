#include "toolkit/controls/TextFrame.h"

#include <new>

#include "framework/services/MessagingServer.h"
#include "toolkit/drawing/OGWorld.h"
#include "toolkit/editor/PluginUIRoot.h"

TextFrame::TextFrame(Frame* parent, std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height,
                     std::uint32_t flags, std::int32_t id)
    : Frame(parent, x, y, width, height, flags, id) {
  mEditMsgClass = GetRoot()->GetMessagingServer().CreateMessageClass(kEditMsgClassRef);
  if (!mEditMsgClass) throw std::bad_alloc();
}

TextFrame::~TextFrame() {
  try {
    GetRoot()->GetMessagingServer().RemoveMessageClass(mEditMsgClass);
  } catch (...) {
    // A destructor must not throw: a class that cannot be removed is only forgotten.
  }
}

void TextFrame::Draw(DrawContext& context, const Rect&) {
  if (mHideWhenDisabled && !IsEnabled()) return;
  context.SetFont(mFont, IsEnabled() ? mTextColor : mDisabledTextColor);
  const std::int32_t y = std::int16_t(GetHeight() - mBaseline);
  const char* text = mText.c_str();
  switch (mAlignment) {
    case kCentred:
      context.MoveTo(Point{GetWidth() / 2 + mMargin - context.GetStringWidth(text) / 2, y});
      break;
    case kLeft:
      context.MoveTo(Point{mMargin, y});
      break;
    case kRight:
      context.MoveTo(Point{GetWidth() - mMargin - context.GetStringWidth(text), y});
      break;
    default:
      break;
  }
  context.DrawString(text);
}

void TextFrame::Mouse(std::int32_t kind, std::int32_t, std::int32_t) {
  if (kind != kMouseDown || !IsEnabled() || mEditMode == kNoEdit) return;
  PluginUIRoot& root = *GetRoot();
  if (mEditMode == kEditOnDoubleClick) {
    if (!root.IsDoubleClick()) return;
  } else if (mEditMode != kEditOnClick) {
    return;
  }
  if (root.IsControlKeyDown() || root.IsExtraModifierDown() || root.IsShiftKeyDown() ||
      root.IsControlShiftDown())
    return;
  // An edit of this frame still open ends before the new one starts.
  if (TextEditDialogUserProxy* open = GetProxy()) open->EditFinished(nullptr);
  Rect rect = GetLocalRect();
  LocalToGlobal(rect);
  SendEdit(kEditStarted, this);
  try {
    root.BeginTextEdit(rect, mText, this);
  } catch (...) {
    try {
      SendEdit(kEditCancelled, this);
    } catch (...) {
      // An edit that could not start goes no further, whoever fails to hear of its cancel.
    }
  }
}

void TextFrame::EditFinished(const std::string* text) {
  if (!text) {
    SendEdit(kEditCancelled, this);
    return;
  }
  EnteredText entered{this, text};
  SendEdit(kEditEntered, &entered);
}

void TextFrame::SendEdit(std::int32_t code, void* payload) {
  GetRoot()->GetMessagingServer().Send(mEditMsgClass, code, 0, payload);
}

void TextFrame::SetFont(std::int32_t font, bool redraw) {
  mFont = font;
  if (redraw) Redraw(nullptr, true);
}

void TextFrame::SetAlignment(std::int16_t alignment, bool redraw) {
  mAlignment = alignment;
  if (redraw) Redraw(nullptr, true);
}

void TextFrame::SetTextOffsets(std::int32_t margin, std::int32_t baseline, bool redraw) {
  mMargin = std::int16_t(margin);
  mBaseline = std::int16_t(baseline);
  if (redraw) Redraw(nullptr, true);
}

void TextFrame::SetTextColor(Color color, bool redraw) {
  mTextColor = color;
  if (redraw) Redraw(nullptr, true);
}

void TextFrame::SetDisabledTextColor(Color color, bool redraw) {
  mDisabledTextColor = color;
  if (redraw) Redraw(nullptr, true);
}

void TextFrame::SetText(const std::string& text, bool redraw) {
  mText = text;
  if (redraw) Redraw(nullptr, true);
}

StaticTextPMFrame::StaticTextPMFrame(Frame* parent, std::int32_t x, std::int32_t y, std::int32_t width,
                                     std::int32_t height, std::int32_t backgroundX, std::int32_t backgroundY,
                                     const OGWorld* world, std::uint32_t flags, std::int32_t id)
    : TextFrame(parent, x, y, width, height, flags | kBuffered, id),
      mWorld(world),
      mBackground{backgroundX, backgroundY} {}

void StaticTextPMFrame::Draw(DrawContext& context, const Rect& area) {
  if (mWorld) {
    context.ResetColors();
    context.CopyFromWorld(*mWorld, RectFromOriginSize(mBackground, GetWidth(), GetHeight()), Point{0, 0},
                          DrawContext::kResetColors);
  }
  TextFrame::Draw(context, area);
}
