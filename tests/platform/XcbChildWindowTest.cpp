// The editor's window on a real X server: Xvfb started by the test, parents made here with xcb,
// input from XTest.
#include <gtest/gtest.h>
#include <signal.h>
#include <xcb/xcb.h>
#include <xcb/xtest.h>

#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include "platform/Platform.h"
#include "tests/platform/TestDisplay.h"
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

// How the window's pixels reach the server: a shared segment when the server offers MIT-SHM, else
// the socket.
enum class Upload { kSharedMemory, kSocket };

std::vector<std::string> ServerArguments(Upload upload) {
  std::vector<std::string> arguments = {"-screen", "0", "1600x1200x24"};
  if (upload == Upload::kSocket) arguments.insert(arguments.begin(), {"-extension", "MIT-SHM"});
  return arguments;
}

std::string Name(Upload upload) { return upload == Upload::kSharedMemory ? "SharedMemory" : "Socket"; }

struct Segment {
  int key = -1;
  std::uint64_t bytes = 0;
  int attached = 0;
};

// The System V shared memory segments this process made, as the kernel lists them.
std::vector<Segment> OurSegments() {
  std::ifstream table("/proc/sysvipc/shm");
  std::string line;
  std::getline(table, line);  // the heading
  std::vector<Segment> ours;
  while (std::getline(table, line)) {
    std::istringstream fields(line);
    Segment segment;
    int id = 0;
    int perms = 0;
    int creator = 0;
    int last = 0;
    fields >> segment.key >> id >> perms >> segment.bytes >> creator >> last >> segment.attached;
    if (creator == getpid()) ours.push_back(segment);
  }
  return ours;
}

class XcbChildWindowTest : public ::testing::Test {
 protected:
  explicit XcbChildWindowTest(Upload upload = Upload::kSharedMemory) : server(ServerArguments(upload)) {}

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

// Every upload test on a server with and without MIT-SHM.
class XcbChildWindowUploadTest : public XcbChildWindowTest, public ::testing::WithParamInterface<Upload> {
 protected:
  XcbChildWindowUploadTest() : XcbChildWindowTest(GetParam()) {}
};

INSTANTIATE_TEST_SUITE_P(Servers, XcbChildWindowUploadTest,
                         ::testing::Values(Upload::kSharedMemory, Upload::kSocket),
                         [](const ::testing::TestParamInfo<Upload>& info) { return Name(info.param); });

class XcbChildWindowDepthTest : public XcbChildWindowTest,
                                public ::testing::WithParamInterface<std::tuple<std::uint8_t, Upload>> {
 protected:
  XcbChildWindowDepthTest() : XcbChildWindowTest(std::get<1>(GetParam())) {}
};

TEST_P(XcbChildWindowDepthTest, PresentShowsThePixelsAndUploadsOnlyTheDamagedRectangles) {
  const std::uint8_t depth = std::get<0>(GetParam());
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

INSTANTIATE_TEST_SUITE_P(ParentDepths, XcbChildWindowDepthTest,
                         ::testing::Combine(::testing::Values(24, 32),
                                            ::testing::Values(Upload::kSharedMemory, Upload::kSocket)),
                         [](const ::testing::TestParamInfo<std::tuple<std::uint8_t, Upload>>& info) {
                           return "Depth" + std::to_string(std::get<0>(info.param)) +
                                  Name(std::get<1>(info.param));
                         });

TEST_P(XcbChildWindowUploadTest, ALargeWindowIsUploadedInStripsBelowTheRequestLimitOrThroughTheSegment) {
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

TEST_P(XcbChildWindowUploadTest, TheWindowAttachesOneSegmentWhenTheServerOffersMitShmAndClosingFreesIt) {
  const xcb_window_t parent = display->Parent(24);
  auto window = Open(parent, 256, 128);
  ASSERT_TRUE(window);
  std::vector<Segment> segments = OurSegments();
  if (GetParam() == Upload::kSocket) {
    EXPECT_TRUE(segments.empty());
    return;
  }
  ASSERT_EQ(segments.size(), 1u);
  EXPECT_EQ(segments[0].key, 0);  // private, and already removed: it goes with its last user
  EXPECT_EQ(segments[0].bytes, 256u * 128u * 4u);
  EXPECT_EQ(segments[0].attached, 2);  // this process and the server
  window.reset();
  for (int i = 0; i < 200 && !segments.empty(); ++i) {
    display->Sync();
    segments = OurSegments();
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  EXPECT_TRUE(segments.empty());
}

TEST_P(XcbChildWindowUploadTest, AParentDestroyedBeforeCloseMarksTheWindowDead) {
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

TEST_P(XcbChildWindowUploadTest, AKilledServerMarksTheWindowDeadAndTheProcessLives) {
  XvfbServer doomed(ServerArguments(GetParam()));
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
  EXPECT_TRUE(OurSegments().empty());
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
