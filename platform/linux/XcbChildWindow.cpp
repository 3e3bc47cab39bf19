#include "platform/linux/XcbChildWindow.h"

#include <fcntl.h>
#include <xcb/xcb.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <vector>

#include "platform/linux/BlockedSignal.h"
#include "platform/linux/XcbCheck.h"
#include "platform/linux/XcbSharedImage.h"

namespace {

// libXau, which xcb_connect reads the authority file with, keeps the file's name in one buffer
// for the whole process: the editors of several instances connect and disconnect one at a time.
std::mutex gConnectionMutex;

xcb_connection_t* Connect() {
  const std::lock_guard<std::mutex> lock(gConnectionMutex);
  return xcb_connect(nullptr, nullptr);
}

void Disconnect(xcb_connection_t* connection) {
  const std::lock_guard<std::mutex> lock(gConnectionMutex);
  xcb_disconnect(connection);
}

constexpr std::int32_t kMaxWindowSide = 32767;
// Big enough for few requests, small enough not to hold the server up.
constexpr size_t kMaxStripBytes = size_t{1} << 20;
constexpr size_t kPutImageHeaderBytes = 24;

template <typename Reply>
struct FreeReply {
  void operator()(Reply* reply) const { std::free(reply); }
};
template <typename Reply>
using ReplyPtr = std::unique_ptr<Reply, FreeReply<Reply>>;

// Where an 8-bit component sits in a pixel, from its mask; false unless it is 8 contiguous bits.
bool ComponentShift(std::uint32_t mask, std::uint32_t& shift) {
  for (shift = 0; shift < 32 && !(mask & (1u << shift)); ++shift) {
  }
  return shift <= 24 && mask == (0xFFu << shift);
}

std::uint32_t Modifiers(std::uint16_t state) {
  std::uint32_t modifiers = 0;
  if (state & XCB_MOD_MASK_SHIFT) modifiers |= kModifierShift;
  if (state & XCB_MOD_MASK_CONTROL) modifiers |= kModifierControl;
  if (state & XCB_BUTTON_MASK_1) modifiers |= kModifierLeftButton;
  if (state & XCB_BUTTON_MASK_2) modifiers |= kModifierMiddleButton;
  if (state & XCB_BUTTON_MASK_3) modifiers |= kModifierRightButton;
  return modifiers;
}

MouseButton Button(std::uint8_t detail) {
  switch (detail) {
    case 1:
      return MouseButton::kLeft;
    case 2:
      return MouseButton::kMiddle;
    case 3:
      return MouseButton::kRight;
    default:
      return MouseButton::kNone;  // wheel and extra buttons
  }
}

bool IsLatin1Letter(std::uint32_t keysym) {
  return (keysym >= 'a' && keysym <= 'z') || (keysym >= 'A' && keysym <= 'Z') ||
         (keysym >= 0xC0 && keysym <= 0xFE && keysym != 0xD7 && keysym != 0xF7);
}

std::uint32_t UpperCase(std::uint32_t keysym) {
  if (keysym >= 'a' && keysym <= 'z') return keysym - 0x20;
  if (keysym >= 0xE0 && keysym <= 0xFE && keysym != 0xF7) return keysym - 0x20;
  return keysym;
}

void KeyFromKeysym(std::uint32_t keysym, WindowEvent& event) {
  switch (keysym) {
    case 0xFF0D:
      event.key = EditKey::kReturn;
      return;
    case 0xFF8D:
      event.key = EditKey::kKeypadEnter;
      return;
    case 0xFF1B:
      event.key = EditKey::kEscape;
      return;
    case 0xFF08:
      event.key = EditKey::kBackSpace;
      return;
    case 0xFFFF:
    case 0xFF9F:  // keypad Delete
      event.key = EditKey::kDelete;
      return;
    case 0xFF51:
    case 0xFF96:
      event.key = EditKey::kLeft;
      return;
    case 0xFF53:
    case 0xFF98:
      event.key = EditKey::kRight;
      return;
    case 0xFF50:
    case 0xFF95:
      event.key = EditKey::kHome;
      return;
    case 0xFF57:
    case 0xFF9C:
      event.key = EditKey::kEnd;
      return;
    default:
      break;
  }
  if ((keysym >= 0x20 && keysym <= 0x7E) || (keysym >= 0xA0 && keysym <= 0xFF)) {
    event.key = EditKey::kCharacter;
    event.character = static_cast<std::uint8_t>(keysym);
  }
}

class XcbChildWindow final : public RoutedChildWindow {
 public:
  XcbChildWindow(xcb_connection_t* connection, std::uint64_t parent, std::int32_t width, std::int32_t height)
      : mConnection(connection), mParent(static_cast<xcb_window_t>(parent)), mWidth(width), mHeight(height) {}

  ~XcbChildWindow() override {
    BlockedSignal guard(SIGPIPE);
    ShutDown();
    mSharedImage.reset();
    if (!xcb_connection_has_error(mConnection)) {
      // The parent may be gone with our window: the errors are never looked at.
      if (mGc) xcb_free_gc(mConnection, mGc);
      if (mWindow) xcb_destroy_window(mConnection, mWindow);
      xcb_flush(mConnection);
    }
    Disconnect(mConnection);
  }

  bool Create();

  void PumpEvents(WindowEventSink& sink) override {
    BlockedSignal guard(SIGPIPE);
    if (IsAlive()) {
      while (xcb_generic_event_t* event = xcb_poll_for_event(mConnection)) {
        Translate(event, sink);
        std::free(event);
      }
    }
    if (xcb_connection_has_error(mConnection)) {
      MarkDead(&sink);
      return;
    }
    FinishPump(sink);
    xcb_flush(mConnection);
  }

  void Present(const PixelBuffer& buffer, const std::vector<PixelRect>& rects) override {
    if (!IsAlive()) return;
    BlockedSignal guard(SIGPIPE);
    Upload(mWindow, buffer, rects, mWidth, mHeight);
    Flush();
  }

  void ReleaseCapture() override {
    RoutedChildWindow::ReleaseCapture();
    if (!IsAlive()) return;
    BlockedSignal guard(SIGPIPE);
    xcb_ungrab_pointer(mConnection, XCB_CURRENT_TIME);
    Flush();
  }

 protected:
  bool OpenEditSurface(const PixelRect& frame) override;
  void PresentEditSurface(const PixelBuffer& inside) override {
    BlockedSignal guard(SIGPIPE);
    Upload(mEditWindow, inside, {{0, 0, inside.width, inside.height}}, inside.width, inside.height);
    Flush();
  }
  void FocusEditSurface(std::uint32_t time) override {
    BlockedSignal guard(SIGPIPE);
    xcb_set_input_focus(mConnection, XCB_INPUT_FOCUS_PARENT, mEditWindow, time);
    Flush();
  }
  void CloseEditSurface(bool restoreFocus) override;

 private:
  void Translate(xcb_generic_event_t* event, WindowEventSink& sink);
  void TranslateKey(const xcb_key_press_event_t& press, WindowEventSink& sink);
  // Shows rects of buffer in target, a drawable of width x height.
  void Upload(xcb_window_t target, const PixelBuffer& buffer, const std::vector<PixelRect>& rects,
              std::int32_t width, std::int32_t height);
  void UploadShared(xcb_window_t target, const PixelBuffer& buffer, std::int32_t width, std::int32_t height);
  void UploadStrips(xcb_window_t target, const PixelBuffer& buffer, const PixelRect& area);
  void Convert(const std::uint32_t* in, std::uint32_t* out, std::int32_t count) const;
  bool LoadKeyboardMap();
  void Flush() {
    xcb_flush(mConnection);
    if (xcb_connection_has_error(mConnection)) MarkDead(nullptr);
  }

  xcb_connection_t* mConnection = nullptr;
  xcb_window_t mParent = 0;
  std::int32_t mWidth = 0;
  std::int32_t mHeight = 0;
  xcb_window_t mWindow = 0;
  xcb_gcontext_t mGc = 0;
  std::uint8_t mDepth = 0;
  xcb_visualid_t mVisual = 0;
  xcb_colormap_t mColormap = 0;
  std::uint32_t mRedShift = 0;
  std::uint32_t mGreenShift = 0;
  std::uint32_t mBlueShift = 0;
  std::uint32_t mOpaque = 0;  // the alpha bits at depth 32
  bool mSwapBytes = false;
  bool mSameLayout = false;  // the visual's pixels are the drawing's, alpha apart: the common case
  size_t mMaxStripBytes = 0;
  std::vector<std::uint32_t> mStrip;
  std::unique_ptr<XcbSharedImage> mSharedImage;  // null: the pixels go through the socket
  std::vector<PixelRect> mAreas;
  xcb_window_t mEditWindow = 0;
  xcb_window_t mSavedFocus = XCB_NONE;
  std::uint8_t mSavedRevert = XCB_INPUT_FOCUS_PARENT;
  xcb_keycode_t mMinKeycode = 0;
  std::uint8_t mKeysymsPerKeycode = 0;
  std::vector<xcb_keysym_t> mKeysyms;
};

bool XcbChildWindow::Create() {
  const xcb_setup_t* setup = xcb_get_setup(mConnection);
  ReplyPtr<xcb_get_geometry_reply_t> geometry(
      xcb_get_geometry_reply(mConnection, xcb_get_geometry(mConnection, mParent), nullptr));
  ReplyPtr<xcb_get_window_attributes_reply_t> attributes(
      xcb_get_window_attributes_reply(mConnection, xcb_get_window_attributes(mConnection, mParent), nullptr));
  if (!geometry || !attributes || attributes->_class != XCB_WINDOW_CLASS_INPUT_OUTPUT) return false;
  mDepth = geometry->depth;
  mVisual = attributes->visual;
  mColormap = attributes->colormap;
  if (mDepth != 24 && mDepth != 32) return false;

  const xcb_visualtype_t* visual = nullptr;
  for (auto screens = xcb_setup_roots_iterator(setup); screens.rem && !visual; xcb_screen_next(&screens)) {
    if (screens.data->root != geometry->root) continue;
    for (auto depths = xcb_screen_allowed_depths_iterator(screens.data); depths.rem && !visual;
         xcb_depth_next(&depths)) {
      if (depths.data->depth != mDepth) continue;
      for (auto visuals = xcb_depth_visuals_iterator(depths.data); visuals.rem;
           xcb_visualtype_next(&visuals)) {
        if (visuals.data->visual_id == mVisual) visual = visuals.data;
      }
    }
  }
  if (!visual || visual->_class != XCB_VISUAL_CLASS_TRUE_COLOR) return false;
  if (!ComponentShift(visual->red_mask, mRedShift) || !ComponentShift(visual->green_mask, mGreenShift) ||
      !ComponentShift(visual->blue_mask, mBlueShift)) {
    return false;
  }
  mOpaque = mDepth == 32 ? ~(visual->red_mask | visual->green_mask | visual->blue_mask) : 0;
  bool thirtyTwoBits = false;
  for (auto formats = xcb_setup_pixmap_formats_iterator(setup); formats.rem; xcb_format_next(&formats)) {
    if (formats.data->depth == mDepth) thirtyTwoBits = formats.data->bits_per_pixel == 32;
  }
  if (!thirtyTwoBits) return false;
  const bool littleEndian = [] {
    const std::uint32_t one = 1;
    std::uint8_t first = 0;
    std::memcpy(&first, &one, 1);
    return first == 1;
  }();
  mSwapBytes = (setup->image_byte_order == XCB_IMAGE_ORDER_LSB_FIRST) != littleEndian;
  mSameLayout = mRedShift == 16 && mGreenShift == 8 && mBlueShift == 0 && !mSwapBytes;

  const size_t maxRequestBytes = static_cast<size_t>(xcb_get_maximum_request_length(mConnection)) * 4;
  mMaxStripBytes = std::min(maxRequestBytes, kMaxStripBytes) - kPutImageHeaderBytes;

  mWindow = xcb_generate_id(mConnection);
  std::uint32_t mask = XCB_CW_BACK_PIXMAP | XCB_CW_BORDER_PIXEL | XCB_CW_EVENT_MASK;
  std::vector<std::uint32_t> values = {XCB_BACK_PIXMAP_NONE, 0,
                                       XCB_EVENT_MASK_EXPOSURE | XCB_EVENT_MASK_BUTTON_PRESS |
                                           XCB_EVENT_MASK_BUTTON_RELEASE | XCB_EVENT_MASK_POINTER_MOTION |
                                           XCB_EVENT_MASK_ENTER_WINDOW | XCB_EVENT_MASK_LEAVE_WINDOW |
                                           XCB_EVENT_MASK_FOCUS_CHANGE | XCB_EVENT_MASK_STRUCTURE_NOTIFY};
  if (mColormap != XCB_NONE) {
    mask |= XCB_CW_COLORMAP;
    values.push_back(mColormap);
  }
  if (!Succeeded(mConnection, xcb_create_window_checked(
                                  mConnection, mDepth, mWindow, mParent, 0, 0,
                                  static_cast<std::uint16_t>(mWidth), static_cast<std::uint16_t>(mHeight), 0,
                                  XCB_WINDOW_CLASS_INPUT_OUTPUT, mVisual, mask, values.data()))) {
    mWindow = 0;
    return false;
  }
  mGc = xcb_generate_id(mConnection);
  if (!Succeeded(mConnection, xcb_create_gc_checked(mConnection, mGc, mWindow, 0, nullptr))) {
    mGc = 0;
    return false;
  }
  if (!Succeeded(mConnection, xcb_map_window_checked(mConnection, mWindow))) return false;
  mSharedImage = XcbSharedImage::Create(mConnection, mWidth, mHeight);
  return true;
}

void XcbChildWindow::Translate(xcb_generic_event_t* generic, WindowEventSink& sink) {
  if (mSharedImage && mSharedImage->TakeCompletion(*generic)) return;
  WindowEvent event;
  switch (generic->response_type & 0x7F) {
    case XCB_EXPOSE: {
      const auto* expose = reinterpret_cast<xcb_expose_event_t*>(generic);
      if (expose->window == mEditWindow) {
        if (expose->count == 0) RedrawEditField();
        return;
      }
      if (expose->window != mWindow) return;
      event.kind = WindowEvent::Kind::kExpose;
      event.area = {expose->x, expose->y, expose->x + expose->width, expose->y + expose->height};
      Dispatch(event, sink);
      return;
    }
    case XCB_BUTTON_PRESS:
    case XCB_BUTTON_RELEASE: {
      const auto* press = reinterpret_cast<xcb_button_press_event_t*>(generic);
      event.button = Button(press->detail);
      // A press inside the edit field stays there; the wheel is not a button here.
      if (press->event != mWindow || event.button == MouseButton::kNone) return;
      event.kind = (generic->response_type & 0x7F) == XCB_BUTTON_PRESS ? WindowEvent::Kind::kMouseDown
                                                                       : WindowEvent::Kind::kMouseUp;
      event.x = press->event_x;
      event.y = press->event_y;
      event.modifiers = Modifiers(press->state);
      event.time = press->time;
      Dispatch(event, sink);
      return;
    }
    case XCB_MOTION_NOTIFY: {
      const auto* motion = reinterpret_cast<xcb_motion_notify_event_t*>(generic);
      if (motion->event != mWindow) return;
      event.kind = WindowEvent::Kind::kMouseMove;
      event.x = motion->event_x;
      event.y = motion->event_y;
      event.modifiers = Modifiers(motion->state);
      event.time = motion->time;
      Dispatch(event, sink);
      return;
    }
    case XCB_ENTER_NOTIFY:
    case XCB_LEAVE_NOTIFY: {
      const auto* crossing = reinterpret_cast<xcb_enter_notify_event_t*>(generic);
      if (crossing->event != mWindow) return;
      TrackPointer(crossing->event_x, crossing->event_y, Modifiers(crossing->state));
      // Someone grabbed the pointer away from the press's grab: the drag is over.
      if ((generic->response_type & 0x7F) == XCB_LEAVE_NOTIFY && crossing->mode == XCB_NOTIFY_MODE_GRAB) {
        LoseCapture(sink);
      }
      return;
    }
    case XCB_FOCUS_IN:
    case XCB_FOCUS_OUT: {
      const auto* focus = reinterpret_cast<xcb_focus_in_event_t*>(generic);
      const bool out = (generic->response_type & 0x7F) == XCB_FOCUS_OUT;
      // Grabs and moves inside our own windows are not a change of focus.
      if (focus->mode == XCB_NOTIFY_MODE_GRAB || focus->mode == XCB_NOTIFY_MODE_UNGRAB ||
          focus->detail == XCB_NOTIFY_DETAIL_INFERIOR || focus->detail == XCB_NOTIFY_DETAIL_POINTER) {
        return;
      }
      if (focus->event == mEditWindow) {
        if (out) EditFocusLost();
        return;
      }
      if (focus->event != mWindow) return;
      event.kind = out ? WindowEvent::Kind::kFocusOut : WindowEvent::Kind::kFocusIn;
      Dispatch(event, sink);
      return;
    }
    case XCB_KEY_PRESS:
      TranslateKey(*reinterpret_cast<xcb_key_press_event_t*>(generic), sink);
      return;
    case XCB_MAPPING_NOTIFY:
      mKeysyms.clear();
      return;
    case XCB_DESTROY_NOTIFY:
      if (reinterpret_cast<xcb_destroy_notify_event_t*>(generic)->window == mWindow) MarkDead(&sink);
      return;
    default:
      return;  // errors of unchecked requests among them: a window that went away
  }
}

void XcbChildWindow::TranslateKey(const xcb_key_press_event_t& press, WindowEventSink& sink) {
  if (press.event != mEditWindow || mEditWindow == 0) return;
  if ((mKeysyms.empty() && !LoadKeyboardMap()) || press.detail < mMinKeycode) return;
  const size_t row = static_cast<size_t>(press.detail - mMinKeycode) * mKeysymsPerKeycode;
  if (row + mKeysymsPerKeycode > mKeysyms.size() || mKeysymsPerKeycode == 0) return;
  const std::uint32_t plain = mKeysyms[row];
  std::uint32_t shifted = mKeysymsPerKeycode > 1 ? mKeysyms[row + 1] : 0;
  if (shifted == 0) shifted = UpperCase(plain);
  const bool shift = press.state & XCB_MOD_MASK_SHIFT;
  const bool capsLock = (press.state & XCB_MOD_MASK_LOCK) && IsLatin1Letter(plain);
  WindowEvent event;
  event.kind = WindowEvent::Kind::kKey;
  event.time = press.time;
  event.modifiers = Modifiers(press.state);
  KeyFromKeysym(shift != capsLock ? shifted : plain, event);
  // Control combinations are shortcuts, not text.
  if (event.key == EditKey::kNone ||
      (event.key == EditKey::kCharacter && (press.state & XCB_MOD_MASK_CONTROL))) {
    return;
  }
  Dispatch(event, sink);
}

bool XcbChildWindow::LoadKeyboardMap() {
  const xcb_setup_t* setup = xcb_get_setup(mConnection);
  const std::uint8_t count = static_cast<std::uint8_t>(setup->max_keycode - setup->min_keycode + 1);
  ReplyPtr<xcb_get_keyboard_mapping_reply_t> mapping(xcb_get_keyboard_mapping_reply(
      mConnection, xcb_get_keyboard_mapping(mConnection, setup->min_keycode, count), nullptr));
  if (!mapping) return false;
  const xcb_keysym_t* keysyms = xcb_get_keyboard_mapping_keysyms(mapping.get());
  mKeysyms.assign(keysyms, keysyms + xcb_get_keyboard_mapping_keysyms_length(mapping.get()));
  mMinKeycode = setup->min_keycode;
  mKeysymsPerKeycode = mapping->keysyms_per_keycode;
  return !mKeysyms.empty();
}

void XcbChildWindow::Upload(xcb_window_t target, const PixelBuffer& buffer,
                            const std::vector<PixelRect>& rects, std::int32_t width, std::int32_t height) {
  if (!buffer.pixels) return;
  const PixelRect bounds{0, 0, std::min(width, buffer.width), std::min(height, buffer.height)};
  mAreas.clear();
  for (const PixelRect& rect : rects) {
    const PixelRect area = IntersectRects(rect, bounds);
    if (!area.IsEmpty()) mAreas.push_back(area);
  }
  if (mAreas.empty()) return;
  if (mSharedImage && mSharedImage->Fits(width, height)) {
    UploadShared(target, buffer, width, height);
  } else {
    for (const PixelRect& area : mAreas) UploadStrips(target, buffer, area);
  }
}

void XcbChildWindow::UploadShared(xcb_window_t target, const PixelBuffer& buffer, std::int32_t width,
                                  std::int32_t height) {
  // The segment holds the drawable's image as it is laid out on the screen; every area is in
  // place before the first put, so the server never reads a row being written.
  std::uint32_t* image = mSharedImage->Writable();
  for (const PixelRect& area : mAreas) {
    for (std::int32_t y = area.top; y < area.bottom; ++y) {
      Convert(&buffer.At(area.left, y),
              image + static_cast<size_t>(y) * static_cast<size_t>(width) + area.left, area.Width());
    }
  }
  for (const PixelRect& area : mAreas) mSharedImage->Put(target, mGc, mDepth, width, height, area);
}

void XcbChildWindow::UploadStrips(xcb_window_t target, const PixelBuffer& buffer, const PixelRect& area) {
  const size_t rowBytes = static_cast<size_t>(area.Width()) * 4;
  const std::int32_t rowsPerStrip = static_cast<std::int32_t>(std::max<size_t>(1, mMaxStripBytes / rowBytes));
  for (std::int32_t top = area.top; top < area.bottom; top += rowsPerStrip) {
    const std::int32_t rows = std::min(rowsPerStrip, area.bottom - top);
    mStrip.resize(static_cast<size_t>(area.Width()) * static_cast<size_t>(rows));
    for (std::int32_t y = top; y < top + rows; ++y) {
      Convert(&buffer.At(area.left, y), mStrip.data() + static_cast<size_t>(y - top) * area.Width(),
              area.Width());
    }
    xcb_put_image(mConnection, XCB_IMAGE_FORMAT_Z_PIXMAP, target, mGc,
                  static_cast<std::uint16_t>(area.Width()), static_cast<std::uint16_t>(rows),
                  static_cast<std::int16_t>(area.left), static_cast<std::int16_t>(top), 0, mDepth,
                  static_cast<std::uint32_t>(mStrip.size() * 4),
                  reinterpret_cast<std::uint8_t*>(mStrip.data()));
  }
}

// 0x00RRGGBB into the visual's pixels, in the server's byte order.
void XcbChildWindow::Convert(const std::uint32_t* in, std::uint32_t* out, std::int32_t count) const {
  const std::uint32_t opaque = mOpaque;
  if (mSameLayout) {
    for (std::int32_t i = 0; i < count; ++i) out[i] = opaque | (in[i] & 0x00FFFFFFu);
    return;
  }
  const std::uint32_t red = mRedShift, green = mGreenShift, blue = mBlueShift;
  const bool swap = mSwapBytes;
  for (std::int32_t i = 0; i < count; ++i) {
    const std::uint32_t rgb = in[i];
    const std::uint32_t pixel =
        opaque | (((rgb >> 16) & 0xFF) << red) | (((rgb >> 8) & 0xFF) << green) | ((rgb & 0xFF) << blue);
    out[i] = swap ? __builtin_bswap32(pixel) : pixel;
  }
}

bool XcbChildWindow::OpenEditSurface(const PixelRect& frame) {
  BlockedSignal guard(SIGPIPE);
  ReplyPtr<xcb_get_input_focus_reply_t> focus(
      xcb_get_input_focus_reply(mConnection, xcb_get_input_focus(mConnection), nullptr));
  if (!focus) return false;
  mSavedFocus = focus->focus;
  mSavedRevert = focus->revert_to;
  mEditWindow = xcb_generate_id(mConnection);
  std::uint32_t mask = XCB_CW_BACK_PIXMAP | XCB_CW_BORDER_PIXEL | XCB_CW_EVENT_MASK;
  std::vector<std::uint32_t> values = {XCB_BACK_PIXMAP_NONE, mOpaque,
                                       XCB_EVENT_MASK_EXPOSURE | XCB_EVENT_MASK_KEY_PRESS |
                                           XCB_EVENT_MASK_FOCUS_CHANGE | XCB_EVENT_MASK_BUTTON_PRESS |
                                           XCB_EVENT_MASK_BUTTON_RELEASE};
  if (mColormap != XCB_NONE) {
    mask |= XCB_CW_COLORMAP;
    values.push_back(mColormap);
  }
  if (!Succeeded(mConnection,
                 xcb_create_window_checked(
                     mConnection, mDepth, mEditWindow, mWindow, static_cast<std::int16_t>(frame.left),
                     static_cast<std::int16_t>(frame.top), static_cast<std::uint16_t>(frame.Width() - 2),
                     static_cast<std::uint16_t>(frame.Height() - 2), 1, XCB_WINDOW_CLASS_INPUT_OUTPUT,
                     mVisual, mask, values.data())) ||
      !Succeeded(mConnection, xcb_map_window_checked(mConnection, mEditWindow))) {
    mEditWindow = 0;
    if (xcb_connection_has_error(mConnection)) MarkDead(nullptr);
    return false;
  }
  return true;
}

void XcbChildWindow::CloseEditSurface(bool restoreFocus) {
  if (mEditWindow == 0) return;
  BlockedSignal guard(SIGPIPE);
  if (restoreFocus && !xcb_connection_has_error(mConnection)) {
    // Only while the focus is still ours: whoever took it keeps it.
    ReplyPtr<xcb_get_input_focus_reply_t> focus(
        xcb_get_input_focus_reply(mConnection, xcb_get_input_focus(mConnection), nullptr));
    if (focus && focus->focus == mEditWindow) {
      // At the time of our latest event, not the server's now: the next press's time may
      // then take the focus for another edit.
      xcb_set_input_focus(mConnection, mSavedRevert, mSavedFocus, LastEventTime());
    }
  }
  xcb_destroy_window(mConnection, mEditWindow);
  mEditWindow = 0;
  Flush();
}

}  // namespace

std::unique_ptr<ChildWindow> OpenXcbChildWindow(std::uint64_t parent, std::int32_t width,
                                                std::int32_t height) {
  if (parent == 0 || parent > 0xFFFFFFFFu || width <= 0 || height <= 0 || width > kMaxWindowSide ||
      height > kMaxWindowSide) {
    return nullptr;
  }
  const char* display = std::getenv("DISPLAY");
  if (!display || !*display) return nullptr;
  BlockedSignal guard(SIGPIPE);
  xcb_connection_t* connection = Connect();
  if (xcb_connection_has_error(connection)) {
    Disconnect(connection);
    return nullptr;
  }
  const int fd = xcb_get_file_descriptor(connection);
  fcntl(fd, F_SETFD, fcntl(fd, F_GETFD) | FD_CLOEXEC);
  auto window = std::make_unique<XcbChildWindow>(connection, parent, width, height);
  if (!window->Create()) return nullptr;
  return window;
}
