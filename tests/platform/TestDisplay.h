#pragma once

#include <xcb/xcb.h>
#include <xcb/xtest.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

// The test's own connection: parents, focus, read-back and XTest input.
class Display {
 public:
  explicit Display(const std::string& name) : mConnection(xcb_connect(name.c_str(), nullptr)) {
    mScreen = xcb_setup_roots_iterator(xcb_get_setup(mConnection)).data;
  }
  ~Display() { xcb_disconnect(mConnection); }

  xcb_connection_t* Connection() const { return mConnection; }
  xcb_window_t Root() const { return mScreen->root; }

  // A top-level window of the given depth (24: the root visual; 32: an ARGB visual), mapped.
  xcb_window_t Parent(std::uint8_t depth, std::int16_t x = 0, std::int16_t y = 0, std::uint16_t width = 400,
                      std::uint16_t height = 300, std::uint8_t visualClass = XCB_VISUAL_CLASS_TRUE_COLOR) {
    xcb_visualid_t visual = 0;
    for (auto d = xcb_screen_allowed_depths_iterator(mScreen); d.rem && !visual; xcb_depth_next(&d)) {
      if (d.data->depth != depth) continue;
      for (auto v = xcb_depth_visuals_iterator(d.data); v.rem; xcb_visualtype_next(&v)) {
        if (v.data->_class == visualClass && !visual) visual = v.data->visual_id;
      }
    }
    if (!visual) return 0;
    const xcb_colormap_t colormap = xcb_generate_id(mConnection);
    xcb_create_colormap(mConnection, XCB_COLORMAP_ALLOC_NONE, colormap, mScreen->root, visual);
    const xcb_window_t window = xcb_generate_id(mConnection);
    const std::uint32_t values[] = {0, 0, 1, colormap};
    xcb_create_window(
        mConnection, depth, window, mScreen->root, x, y, width, height, 0, XCB_WINDOW_CLASS_INPUT_OUTPUT,
        visual, XCB_CW_BACK_PIXEL | XCB_CW_BORDER_PIXEL | XCB_CW_OVERRIDE_REDIRECT | XCB_CW_COLORMAP, values);
    xcb_map_window(mConnection, window);
    Sync();
    return window;
  }

  xcb_window_t InputOnlyParent() {
    const xcb_window_t window = xcb_generate_id(mConnection);
    xcb_create_window(mConnection, 0, window, mScreen->root, 0, 0, 100, 100, 0, XCB_WINDOW_CLASS_INPUT_ONLY,
                      XCB_COPY_FROM_PARENT, 0, nullptr);
    xcb_map_window(mConnection, window);
    Sync();
    return window;
  }

  void Destroy(xcb_window_t window) {
    xcb_destroy_window(mConnection, window);
    Sync();
  }

  void Sync() { free(xcb_get_input_focus_reply(mConnection, xcb_get_input_focus(mConnection), nullptr)); }

  // The pixels of window, 0x00RRGGBB, plus the alpha byte at depth 32.
  std::vector<std::uint32_t> Image(xcb_window_t window, std::int16_t x, std::int16_t y, std::uint16_t width,
                                   std::uint16_t height) {
    xcb_get_image_reply_t* reply = xcb_get_image_reply(
        mConnection, xcb_get_image(mConnection, XCB_IMAGE_FORMAT_Z_PIXMAP, window, x, y, width, height, ~0u),
        nullptr);
    std::vector<std::uint32_t> pixels;
    if (!reply) return pixels;
    const auto* data = reinterpret_cast<const std::uint32_t*>(xcb_get_image_data(reply));
    pixels.assign(data, data + xcb_get_image_data_length(reply) / 4);
    free(reply);
    return pixels;
  }

  // The pixel once the server has taken in what another connection sent, or as it is after a second.
  std::uint32_t PixelWhen(xcb_window_t window, std::int16_t x, std::int16_t y, std::uint32_t expected,
                          std::uint32_t mask = 0x00FFFFFFu) {
    std::uint32_t pixel = 0;
    for (int i = 0; i < 200; ++i) {
      const std::vector<std::uint32_t> shown = Image(window, x, y, 1, 1);
      pixel = shown.empty() ? 0 : shown[0] & mask;
      if (pixel == expected) break;
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return pixel;
  }

  // Waits until no other client holds the pointer grabbed.
  void WaitForUngrab() {
    for (int i = 0; i < 200; ++i) {
      xcb_grab_pointer_reply_t* grab =
          xcb_grab_pointer_reply(mConnection,
                                 xcb_grab_pointer(mConnection, 0, mScreen->root, 0, XCB_GRAB_MODE_ASYNC,
                                                  XCB_GRAB_MODE_ASYNC, XCB_NONE, XCB_NONE, XCB_CURRENT_TIME),
                                 nullptr);
      const bool ours = grab && grab->status == XCB_GRAB_STATUS_SUCCESS;
      free(grab);
      if (ours) {
        xcb_ungrab_pointer(mConnection, XCB_CURRENT_TIME);
        Sync();
        return;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
  }

  xcb_window_t Focus() {
    xcb_get_input_focus_reply_t* reply =
        xcb_get_input_focus_reply(mConnection, xcb_get_input_focus(mConnection), nullptr);
    const xcb_window_t focus = reply ? reply->focus : 0;
    free(reply);
    return focus;
  }
  void SetFocus(xcb_window_t window) {
    xcb_set_input_focus(mConnection, XCB_INPUT_FOCUS_POINTER_ROOT, window, XCB_CURRENT_TIME);
    Sync();
  }

  void MoveTo(std::int16_t x, std::int16_t y) { Fake(XCB_MOTION_NOTIFY, 0, x, y); }
  void Button(bool press) { Fake(press ? XCB_BUTTON_PRESS : XCB_BUTTON_RELEASE, 1, 0, 0); }
  void Click(std::int16_t x, std::int16_t y) {
    MoveTo(x, y);
    Button(true);
    Button(false);
  }
  void ShiftClick(std::int16_t x, std::int16_t y) {
    Fake(XCB_KEY_PRESS, kShiftKeycode, 0, 0);
    Click(x, y);
    Fake(XCB_KEY_RELEASE, kShiftKeycode, 0, 0);
  }
  // Presses and releases the key that gives keysym, with Shift when it sits in the second column.
  void Key(std::uint32_t keysym) {
    const xcb_setup_t* setup = xcb_get_setup(mConnection);
    const std::uint8_t count = static_cast<std::uint8_t>(setup->max_keycode - setup->min_keycode + 1);
    xcb_get_keyboard_mapping_reply_t* map = xcb_get_keyboard_mapping_reply(
        mConnection, xcb_get_keyboard_mapping(mConnection, setup->min_keycode, count), nullptr);
    const xcb_keysym_t* syms = xcb_get_keyboard_mapping_keysyms(map);
    const int per = map->keysyms_per_keycode;
    for (int code = 0; code < count; ++code) {
      for (int column = 0; column < 2 && column < per; ++column) {
        if (syms[code * per + column] != keysym) continue;
        const std::uint8_t keycode = static_cast<std::uint8_t>(setup->min_keycode + code);
        if (column == 1) Fake(XCB_KEY_PRESS, kShiftKeycode, 0, 0);
        Fake(XCB_KEY_PRESS, keycode, 0, 0);
        Fake(XCB_KEY_RELEASE, keycode, 0, 0);
        if (column == 1) Fake(XCB_KEY_RELEASE, kShiftKeycode, 0, 0);
        free(map);
        return;
      }
    }
    free(map);
    ADD_FAILURE() << "no key for keysym " << keysym;
  }

 private:
  static constexpr std::uint8_t kShiftKeycode = 50;  // Shift_L on the Xvfb keyboard

  void Fake(std::uint8_t type, std::uint8_t detail, std::int16_t x, std::int16_t y) {
    xcb_test_fake_input(mConnection, type, detail, XCB_CURRENT_TIME,
                        type == XCB_MOTION_NOTIFY ? mScreen->root : 0, x, y, 0);
    Sync();
  }

  xcb_connection_t* mConnection = nullptr;
  xcb_screen_t* mScreen = nullptr;
};
