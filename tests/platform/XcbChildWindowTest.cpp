// The editor's window on a real X server: Xvfb started by the test, parents made here with xcb,
// input from XTest.
#include <gtest/gtest.h>
#include <signal.h>
#include <xcb/xcb.h>
#include <xcb/xtest.h>

#include <chrono>
#include <cstdlib>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "platform/Platform.h"
#include "tests/platform/XvfbServer.h"

namespace {

using Kind = WindowEvent::Kind;

struct Recorder : WindowEventSink {
  void OnWindowEvent(const WindowEvent& event) override { events.push_back(event); }
  bool Has(Kind kind) const {
    for (const WindowEvent& e : events) {
      if (e.kind == kind) return true;
    }
    return false;
  }
  std::vector<WindowEvent> events;
};

struct FlatRenderer : EditFieldRenderer {
  void Render(const EditFieldText&, const PixelBuffer& target) override {
    for (std::int32_t y = 0; y < target.height; ++y) {
      for (std::int32_t x = 0; x < target.width; ++x) target.At(x, y) = 0x00FFEEDD;
    }
  }
};

std::uint32_t Pattern(std::int32_t x, std::int32_t y) {
  return (static_cast<std::uint32_t>(x & 0xFF) << 16) | (static_cast<std::uint32_t>(y & 0xFF) << 8) |
         static_cast<std::uint32_t>((x + y) & 0xFF);
}

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
        const std::uint8_t shift = 50;  // Shift_L on the Xvfb keyboard
        if (column == 1) Fake(XCB_KEY_PRESS, shift, 0, 0);
        Fake(XCB_KEY_PRESS, keycode, 0, 0);
        Fake(XCB_KEY_RELEASE, keycode, 0, 0);
        if (column == 1) Fake(XCB_KEY_RELEASE, shift, 0, 0);
        free(map);
        return;
      }
    }
    free(map);
    ADD_FAILURE() << "no key for keysym " << keysym;
  }

 private:
  void Fake(std::uint8_t type, std::uint8_t detail, std::int16_t x, std::int16_t y) {
    xcb_test_fake_input(mConnection, type, detail, XCB_CURRENT_TIME,
                        type == XCB_MOTION_NOTIFY ? mScreen->root : 0, x, y, 0);
    Sync();
  }

  xcb_connection_t* mConnection = nullptr;
  xcb_screen_t* mScreen = nullptr;
};

// Pumps until done says so or two seconds pass.
bool PumpUntil(ChildWindow& window, Recorder& sink, const std::function<bool()>& done) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(2);
  while (std::chrono::steady_clock::now() < end) {
    window.PumpEvents(sink);
    if (done()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return done();
}

// Pumps what arrives within a fifth of a second.
void Drain(ChildWindow& window, Recorder& sink) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(200);
  while (std::chrono::steady_clock::now() < end) {
    window.PumpEvents(sink);
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
}

class XcbChildWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(server.Display().empty()) << "Xvfb did not start";
    setenv("DISPLAY", server.Display().c_str(), 1);
    display = std::make_unique<Display>(server.Display());
  }

  std::unique_ptr<ChildWindow> Open(xcb_window_t parent, std::int32_t width = 256,
                                    std::int32_t height = 128) {
    return GetSystemPlatform().OpenWindow(parent, width, height);
  }

  // The child window's id: the only child of parent.
  xcb_window_t ChildOf(xcb_window_t parent) {
    xcb_query_tree_reply_t* tree =
        xcb_query_tree_reply(display->Connection(), xcb_query_tree(display->Connection(), parent), nullptr);
    const xcb_window_t child =
        tree && xcb_query_tree_children_length(tree) ? xcb_query_tree_children(tree)[0] : 0;
    free(tree);
    return child;
  }

  XvfbServer server;
  std::unique_ptr<Display> display;
  Recorder sink;
};

class XcbChildWindowDepthTest : public XcbChildWindowTest,
                                public ::testing::WithParamInterface<std::uint8_t> {};

TEST_P(XcbChildWindowDepthTest, PresentShowsThePixelsAndUploadsOnlyTheDamagedRectangles) {
  const std::uint8_t depth = GetParam();
  const xcb_window_t parent = display->Parent(depth);
  ASSERT_NE(parent, 0u);
  auto window = Open(parent);
  ASSERT_TRUE(window);
  ASSERT_TRUE(PumpUntil(*window, sink, [&] { return sink.Has(Kind::kExpose); }));
  std::vector<std::uint32_t> pixels(256 * 128);
  PixelBuffer buffer{pixels.data(), 256, 128, 256};
  for (std::int32_t y = 0; y < 128; ++y) {
    for (std::int32_t x = 0; x < 256; ++x) buffer.At(x, y) = Pattern(x, y);
  }
  window->Present(buffer, {{0, 0, 256, 128}});
  const xcb_window_t child = ChildOf(parent);
  const std::uint32_t alpha = depth == 32 ? 0xFF000000u : 0;
  // The last pixel sent: all before it has arrived too.
  EXPECT_EQ(display->PixelWhen(child, 255, 127, Pattern(255, 127) | alpha, 0x00FFFFFFu | alpha),
            Pattern(255, 127) | alpha);
  std::vector<std::uint32_t> shown = display->Image(child, 0, 0, 256, 128);
  ASSERT_EQ(shown.size(), pixels.size());
  for (const auto& [x, y] : std::vector<std::pair<int, int>>{{0, 0}, {255, 0}, {17, 99}, {255, 127}}) {
    EXPECT_EQ(shown[y * 256 + x] & (0x00FFFFFFu | alpha), Pattern(x, y) | alpha) << x << "," << y;
  }
  // Only the damaged rectangle changes on the screen.
  for (std::uint32_t& p : pixels) p = 0x00FF0000;
  window->Present(buffer, {{10, 10, 20, 20}});
  EXPECT_EQ(display->PixelWhen(child, 19, 19, 0x00FF0000u), 0x00FF0000u);
  shown = display->Image(child, 0, 0, 256, 128);
  EXPECT_EQ(shown[15 * 256 + 15] & 0x00FFFFFFu, 0x00FF0000u);
  EXPECT_EQ(shown[25 * 256 + 25] & 0x00FFFFFFu, Pattern(25, 25));
  EXPECT_EQ(shown[9 * 256 + 9] & 0x00FFFFFFu, Pattern(9, 9));
}

INSTANTIATE_TEST_SUITE_P(ParentDepths, XcbChildWindowDepthTest, ::testing::Values(24, 32));

TEST_F(XcbChildWindowTest, ALargeWindowIsUploadedInStripsBelowTheRequestLimit) {
  const xcb_window_t parent = display->Parent(24, 0, 0, 1500, 1100);
  auto window = Open(parent, 1400, 1000);  // 5.6 MB of pixels
  ASSERT_TRUE(window);
  std::vector<std::uint32_t> pixels(1400 * 1000);
  PixelBuffer buffer{pixels.data(), 1400, 1000, 1400};
  for (std::int32_t y = 0; y < 1000; ++y) {
    for (std::int32_t x = 0; x < 1400; ++x) buffer.At(x, y) = Pattern(x, y);
  }
  window->Present(buffer, {{0, 0, 1400, 1000}});
  ASSERT_TRUE(window->IsAlive());
  const xcb_window_t child = ChildOf(parent);
  EXPECT_EQ(display->PixelWhen(child, 1399, 999, Pattern(1399, 999)), Pattern(1399, 999));
  for (const auto& [x, y] : std::vector<std::pair<int, int>>{{0, 0}, {1399, 500}, {700, 999}, {3, 187}}) {
    const std::vector<std::uint32_t> shown =
        display->Image(child, static_cast<std::int16_t>(x), static_cast<std::int16_t>(y), 1, 1);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0] & 0x00FFFFFFu, Pattern(x, y)) << x << "," << y;
  }
}

TEST_F(XcbChildWindowTest, OpenFailsCleanlyForBadParentsSizesAndDisplays) {
  const xcb_window_t good = display->Parent(24);
  struct Case {
    const char* name;
    std::uint64_t parent;
    std::int32_t width;
    std::int32_t height;
  };
  const Case cases[] = {
      {"no parent", 0, 100, 100},
      {"a window that does not exist", 0x3FFFFF, 100, 100},
      {"an id beyond 32 bits", (std::uint64_t{1} << 32) | good, 100, 100},
      {"an input-only parent", display->InputOnlyParent(), 100, 100},
      {"a DirectColor parent", display->Parent(24, 0, 0, 100, 100, XCB_VISUAL_CLASS_DIRECT_COLOR), 100, 100},
      {"size 0", good, 0, 100},
      {"height 0", good, 100, 0},
      {"beyond the protocol's sizes", good, 40000, 100},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_FALSE(GetSystemPlatform().OpenWindow(c.parent, c.width, c.height));
  }
  unsetenv("DISPLAY");
  EXPECT_FALSE(Open(good));
  setenv("DISPLAY", ":4095", 1);
  EXPECT_FALSE(Open(good));
  setenv("DISPLAY", server.Display().c_str(), 1);
  EXPECT_TRUE(Open(good));
  EXPECT_EQ(ChildOf(good), 0u);  // the window went with its object
}

TEST_F(XcbChildWindowTest, AParentDestroyedBeforeCloseMarksTheWindowDead) {
  const xcb_window_t parent = display->Parent(24);
  auto window = Open(parent);
  ASSERT_TRUE(window);
  display->Destroy(parent);
  ASSERT_TRUE(PumpUntil(*window, sink, [&] { return sink.Has(Kind::kDestroyed); }));
  EXPECT_FALSE(window->IsAlive());
  std::vector<std::uint32_t> pixels(256 * 128);
  window->Present({pixels.data(), 256, 128, 256}, {{0, 0, 256, 128}});
  window.reset();  // closing ignores the parent that is gone
  display->Sync();
}

TEST_F(XcbChildWindowTest, AKilledServerMarksTheWindowDeadAndTheProcessLives) {
  XvfbServer doomed;
  ASSERT_FALSE(doomed.Display().empty());
  Display other(doomed.Display());
  const xcb_window_t parent = other.Parent(24);
  setenv("DISPLAY", doomed.Display().c_str(), 1);
  auto window = Open(parent);
  ASSERT_TRUE(window);
  doomed.Kill();
  std::vector<std::uint32_t> pixels(256 * 128);
  // Writes to the closed connection: no SIGPIPE reaches the process.
  for (int i = 0; i < 20 && window->IsAlive(); ++i) {
    window->Present({pixels.data(), 256, 128, 256}, {{0, 0, 256, 128}});
    window->PumpEvents(sink);
  }
  EXPECT_FALSE(window->IsAlive());
  EXPECT_TRUE(sink.Has(Kind::kDestroyed));
  FlatRenderer renderer;
  EXPECT_FALSE(
      window->BeginTextEdit({10, 10, 50, 20}, "x", renderer, [](const std::optional<std::string>&) {}));
  window.reset();
  sigset_t pending;
  sigpending(&pending);
  EXPECT_FALSE(sigismember(&pending, SIGPIPE));
}

class XcbEditFieldTest : public XcbChildWindowTest {
 protected:
  void SetUp() override {
    XcbChildWindowTest::SetUp();
    parent = display->Parent(24, 0, 0);
    display->SetFocus(parent);
    window = Open(parent);
    ASSERT_TRUE(window);
    ASSERT_TRUE(PumpUntil(*window, sink, [&] { return sink.Has(Kind::kExpose); }));
    child = ChildOf(parent);
    background.assign(256 * 128, 0x00FFFFFF);
    window->Present({background.data(), 256, 128, 256}, {{0, 0, 256, 128}});
  }
  void Begin(const std::string& text = "start") {
    ASSERT_TRUE(window->BeginTextEdit({20, 30, 120, 42}, text, renderer,
                                      [this](const std::optional<std::string>& r) { results.push_back(r); }));
    ASSERT_TRUE(PumpUntil(*window, sink, [&] { return display->Focus() != parent; }));
  }
  bool Answered() {
    return PumpUntil(*window, sink, [&] { return !results.empty(); });
  }

  xcb_window_t parent = 0;
  xcb_window_t child = 0;
  std::unique_ptr<ChildWindow> window;
  std::vector<std::uint32_t> background;
  FlatRenderer renderer;
  std::vector<std::optional<std::string>> results;
};

TEST_F(XcbEditFieldTest, SeventyTypedCharactersCommitSixtyFourOnReturnAndTheHostGetsItsFocusBack) {
  Begin();
  // The field's border sits one pixel left of and two above the rect, the inside is the renderer's.
  const std::vector<std::uint32_t> shown = display->Image(child, 0, 0, 256, 128);
  EXPECT_EQ(shown[28 * 256 + 19] & 0x00FFFFFFu, 0u);
  EXPECT_EQ(shown[43 * 256 + 118] & 0x00FFFFFFu, 0u);
  EXPECT_EQ(shown[35 * 256 + 60] & 0x00FFFFFFu, 0x00FFEEDDu);
  std::system(("import -display " + server.Display() + " -window root " + ARTEFACT_DIR +
               "/edit-field.png 2>/dev/null")
                  .c_str());
  for (int i = 0; i < 70; ++i) display->Key('a' + i % 26);
  display->Key(0xFF0D);  // Return
  ASSERT_TRUE(Answered());
  ASSERT_TRUE(results[0]);
  EXPECT_EQ(results[0]->size(), 64u);
  EXPECT_EQ(results[0]->substr(0, 4), "abcd");
  EXPECT_EQ(display->Focus(), parent);
  EXPECT_FALSE(window->IsTextEditActive());
}

TEST_F(XcbEditFieldTest, ShiftedAndKeypadKeysEscapeAndAClickOutsideCancel) {
  Begin();
  display->Key('A');
  display->Key(0xFF50);  // Home
  display->Key(0xFF57);  // End
  display->Key(0xFF08);  // BackSpace
  display->Key('b');
  display->Key(0xFF8D);  // keypad Enter
  ASSERT_TRUE(Answered());
  EXPECT_EQ(results[0], std::string("b"));

  results.clear();
  Begin();
  display->Key(0xFF1B);  // Escape
  ASSERT_TRUE(Answered());
  EXPECT_FALSE(results[0]);
  EXPECT_EQ(display->Focus(), parent);

  results.clear();
  Begin();
  sink.events.clear();
  display->Click(200, 100);  // in the editor, outside the field
  ASSERT_TRUE(Answered());
  EXPECT_FALSE(results[0]);
  Drain(*window, sink);
  for (const WindowEvent& e : sink.events) EXPECT_NE(e.kind, Kind::kMouseDown);  // the click went nowhere
  EXPECT_EQ(display->Focus(), parent);
}

TEST_F(XcbEditFieldTest, FocusTakenByAnotherWindowCancelsAndStaysThere) {
  const xcb_window_t other = display->Parent(24, 500, 500, 50, 50);
  Begin();
  display->SetFocus(other);
  ASSERT_TRUE(Answered());
  EXPECT_FALSE(results[0]);
  EXPECT_EQ(display->Focus(), other);
}

TEST_F(XcbChildWindowTest, APressCapturesUntilItsReleaseAndReleaseCaptureEndsIt) {
  const xcb_window_t parent = display->Parent(24);
  auto window = Open(parent);
  ASSERT_TRUE(window);
  PumpUntil(*window, sink, [&] { return sink.Has(Kind::kExpose); });
  display->MoveTo(10, 10);
  display->Button(true);
  ASSERT_TRUE(PumpUntil(*window, sink, [&] { return sink.Has(Kind::kMouseDown); }));
  EXPECT_TRUE(window->IsCaptured());
  display->MoveTo(600, 500);  // far outside the window: still the drag's
  ASSERT_TRUE(PumpUntil(*window, sink, [&] {
    return !sink.events.empty() && sink.events.back().kind == Kind::kMouseMove && sink.events.back().x == 600;
  }));
  display->Button(false);
  ASSERT_TRUE(PumpUntil(*window, sink, [&] { return sink.Has(Kind::kMouseUp); }));
  EXPECT_EQ(sink.events.back().x, 600);
  EXPECT_FALSE(window->IsCaptured());

  sink.events.clear();
  display->MoveTo(10, 10);
  display->Button(true);
  ASSERT_TRUE(PumpUntil(*window, sink, [&] { return sink.Has(Kind::kMouseDown); }));
  window->ReleaseCapture();
  display->WaitForUngrab();
  sink.events.clear();
  display->MoveTo(600, 500);
  display->Button(false);
  Drain(*window, sink);
  for (const WindowEvent& e : sink.events) {
    EXPECT_NE(e.kind, Kind::kMouseUp);  // the grab is gone: the release is not ours
    EXPECT_LT(e.x, 600);
  }
}

}  // namespace
