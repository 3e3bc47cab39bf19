#include "toolkit/controls/ColorFrames.h"

#include <algorithm>
#include <new>
#include <vector>

#include "framework/services/MessagingServer.h"
#include "toolkit/drawing/OGWorld.h"
#include "toolkit/editor/PluginUIRoot.h"

namespace ZEBCanvas {

namespace {
constexpr std::int32_t kDash = 4;
}  // namespace

ColorFillFrame::ColorFillFrame(Frame* parent, std::int32_t x, std::int32_t y, std::int32_t width,
                               std::int32_t height, std::uint32_t flags)
    : Frame(parent, x, y, width, height, flags, 0) {}

void ColorFillFrame::Draw(DrawContext& context, const Rect& area) {
  context.SetForeColor(IsEnabled() ? mColor : kBlack);
  context.FillRect(area);
  if (!mHatched || !IsEnabled()) return;
  const std::int32_t w = GetWidth(), h = GetHeight();
  bool black = true;
  auto dash = [&](Point from, Point to, bool inBlack) {
    context.SetForeColor(inBlack ? kBlack : kWhite);
    context.MoveTo(from);
    context.LineTo(to);
  };
  for (std::int32_t x = 0; x < w; x += kDash, black = !black) {
    dash(Point{x, 0}, Point{x + kDash, 0}, black);
    dash(Point{x, h - 1}, Point{x + kDash, h - 1}, !black);
  }
  for (std::int32_t y = 0; y < h; y += kDash, black = !black) {
    dash(Point{0, y}, Point{0, y + kDash}, black);
    dash(Point{w - 1, y}, Point{w - 1, y + kDash}, !black);
  }
}

void ColorFillFrame::SetColor(Color color, bool redraw) {
  mColor = color;
  if (redraw) Redraw(nullptr, true);
}

void ColorFillFrame::SetHatched(bool on) {
  mHatched = on;
  Redraw(nullptr, true);
}

ColorPickerFrame::ColorPickerFrame(Frame* parent, std::int32_t x, std::int32_t y, std::int32_t width,
                                   std::int32_t height, OGWorld* world, std::int32_t activeX,
                                   std::int32_t activeY, std::int32_t idleX, std::int32_t idleY)
    : Frame(parent, x, y, width, height, 0, 0),
      mWorld(world),
      mActive{activeX, activeY},
      mIdle{idleX, idleY} {
  mMsgClass = GetRoot()->GetMessagingServer().CreateMessageClass(kMsgClassRef);
  if (!mMsgClass) throw std::bad_alloc();
}

ColorPickerFrame::~ColorPickerFrame() {
  MessagingServer& server = GetRoot()->GetMessagingServer();
  for (const auto& [number, link] : mLinks) server.Unsubscribe(link.messageClass, link.subscription);
  mLinks.clear();
  try {
    server.RemoveMessageClass(mMsgClass);
  } catch (...) {
    // A destructor must not throw: a class the server no longer holds is only forgotten.
  }
}

MessageClass* ColorPickerFrame::GetMsgClass() const { return mMsgClass; }

void ColorPickerFrame::Draw(DrawContext& context, const Rect&) {
  if (mWorld) {
    const Point source = mHover && IsEnabled() ? mActive : mIdle;
    context.CopyFromWorld(*mWorld, RectFromOriginSize(source, GetWidth(), GetHeight()), Point{0, 0},
                          DrawContext::kResetColors);
  }
  if (!mDragging) return;
  const Point p = mPickedPoint;
  context.SetForeColor(kBlack);
  context.FrameRect(Rect{p.x - 2, p.y - 2, p.x + 3, p.y + 3});
  context.SetForeColor(kWhite);
  context.FrameRect(Rect{p.x - 1, p.y - 1, p.x + 2, p.y + 2});
}

void ColorPickerFrame::Mouse(std::int32_t kind, std::int32_t x, std::int32_t y) {
  switch (kind) {
    case kMouseDown:
      mDragging = true;
      CaptureMouse();
      Pick(x, y);
      break;
    case kMouseUp:
      if (!mDragging) break;
      EndDrag();
      Pick(x, y);
      break;
    case kMouseEnter:
    case kMouseLeave:
      mHover = kind == kMouseEnter;
      Redraw(nullptr, true);
      break;
    case kMouseMove:
      if (mDragging) Pick(x, y);
      break;
    default:
      break;
  }
}

void ColorPickerFrame::EndDrag() {
  mDragging = false;
  ReleaseMouse();
}

void ColorPickerFrame::SetEnabled(bool on) {
  Frame::SetEnabled(on);
  // A disabled frame never hears the release.
  if (!on && mDragging) EndDrag();
}

void ColorPickerFrame::EffectiveVisibilityChanged() {
  if (!IsEffectivelyVisible() && mDragging) EndDrag();
}

void ColorPickerFrame::Pick(std::int32_t x, std::int32_t y) {
  mPickedPoint = Point{x, y};
  const Point source{std::clamp(mActive.x + x, mActive.x, mActive.x + GetWidth() - 1),
                     std::clamp(mActive.y + y, mActive.y, mActive.y + GetHeight() - 1)};
  mPicked = mWorld ? mWorld->GetPixelColor(source) : kBlack;
  Redraw(nullptr, true);
  GetRoot()->GetMessagingServer().Send(mMsgClass, kPicked, 0, nullptr);
  // By number, looked up again each time: a subscriber may have destroyed a linked frame.
  std::vector<std::int32_t> numbers;
  for (const auto& entry : mLinks) numbers.push_back(entry.first);
  for (std::int32_t number : numbers) {
    const auto link = mLinks.find(number);
    if (link == mLinks.end()) continue;
    *link->second.color = mPicked;
    link->second.frame->Redraw(nullptr, true);
  }
}

void ColorPickerFrame::SetPixMap(OGWorld* world, std::int32_t activeX, std::int32_t activeY) {
  mWorld = world;
  mActive = Point{activeX, activeY};
  Redraw(nullptr, true);
}

void ColorPickerFrame::LinkColor(Frame* frame, Color* color) {
  const std::int32_t number = mLinkCount + 1;
  MessageClass* messageClass = frame->GetMsgClass();
  MessageSubscription* subscription =
      GetRoot()->GetMessagingServer().Subscribe(messageClass, &IgnoreLinkMessage, this, number, &OnLinkGone);
  if (!subscription) throw std::bad_alloc();
  mLinkCount = number;
  mLinks.emplace(number, Link{frame, color, messageClass, subscription});
}

std::int32_t ColorPickerFrame::IgnoreLinkMessage(MessageSubscription*, void*, std::int32_t, MessageClass*,
                                                 std::int32_t, std::int32_t, void*) {
  return 0;
}

void ColorPickerFrame::OnLinkGone(MessageSubscription* subscription, void* userData,
                                  std::int32_t linkNumber) {
  auto* self = static_cast<ColorPickerFrame*>(userData);
  const auto link = self->mLinks.find(linkNumber);
  if (link != self->mLinks.end() && link->second.subscription == subscription) self->mLinks.erase(link);
}

}  // namespace ZEBCanvas
