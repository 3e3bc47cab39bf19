// The plug-in window on the offscreen platform: flags before the native window, the editor's
// parent, the scope's crop and the corners, raising, closing.
#include "host/app/PluginWindowGeometry.h"
#include "host/app/QVstPluginItemWidget.h"
#include "host/app/TvDataBus.h"
#include "tests/host/RecorderLog.h"
#include "tests/host/TestApplication.h"

#include <gtest/gtest.h>

#include <QCloseEvent>
#include <QElapsedTimer>
#include <QMenu>
#include <QScreen>

#include <memory>

using namespace tolvaran;

namespace {

std::unique_ptr<TvMultimeterPlugin> load_recorder() {
  auto plugin = std::make_unique<TvMultimeterPlugin>(QStringLiteral("recorder"));
  EXPECT_TRUE(plugin->load_plugin(recorder_path("recorder").c_str()));
  plugin->serve_host_callbacks();
  clear_recorded_calls();
  return plugin;
}

std::vector<RecordedCall> sent(int32_t opcode) {
  std::vector<RecordedCall> out;
  for (const RecordedCall& call : recorded_calls())
    if (call.kind == kRecorderDispatch && call.opcode == opcode) out.push_back(call);
  return out;
}

TEST(PluginWindow, FlagsAndOpacityAreSetBeforeAnyNativeWindowAndTheEditorsParentSurvives) {
  test_application();
  auto plugin = load_recorder();
  {
    QVstPluginItemWidget window(plugin.get());
    EXPECT_FALSE(window.testAttribute(Qt::WA_WState_Created)) << "no native window yet";
    const Qt::WindowFlags flags = window.windowFlags();
    EXPECT_TRUE(flags & Qt::FramelessWindowHint);
    EXPECT_TRUE(flags & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(flags & Qt::WindowType_Mask, Qt::Tool);
    EXPECT_FALSE(flags & Qt::WindowMinimizeButtonHint);
    EXPECT_NEAR(window.windowOpacity(), 0.5, 1.0 / 255);
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Caldmere"));
    EXPECT_EQ(window.display_widget()->objectName(), QStringLiteral("vst_display_widget"));

    window.show_plugin();
    test_application().processEvents();
    const std::vector<RecordedCall> opened = sent(effEditOpen);
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0].index, 10);
    EXPECT_EQ(opened[0].value, 20);
    // The native parent handed to the editor is still the display widget's after showing.
    EXPECT_EQ(reinterpret_cast<uintptr_t>(opened[0].ptr),
              static_cast<uintptr_t>(window.display_widget()->winId()));
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(window.size(), QSize(204, 197)) << "the scope's crop of the 399 x 470 editor";
    // The editor is offset so that the crop's corner is the window's.
    EXPECT_EQ(window.display_widget()->geometry(), QRect(-8, -111, 399, 470));
    clear_recorded_calls();
  }
  EXPECT_EQ(sent(effEditClose).size(), 1u) << "closing the window closes the editor once";
}

TEST(PluginWindow, TheCropIsTheScopeInsideTheEditorOrTheWholeEditor) {
  struct Case {
    int width, height;
    QRect crop;
  };
  const Case cases[] = {
      {399, 470, {8, 111, 204, 197}},
      {212, 308, {8, 111, 204, 197}},
      {100, 200, {8, 111, 92, 89}},  // cut by the editor's edges
      {8, 400, {0, 0, 8, 400}},      // not reaching the scope: the whole editor
      {0, 0, {}},
      {-20, -5, {}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(editor_crop(c.width, c.height), c.crop) << c.width << " x " << c.height;
}

// Qt scales about the screen's origin and rounds halves up; the window's device rectangle maps
// to the nearest logical one, which maps back exactly where the ratio divides it.
TEST(PluginWindow, DevicePixelsMapToQtsPixelsAboutTheScreensOrigin) {
  struct Case {
    ScreenScale scale;
    QRect device, logical, back;
  };
  const Case cases[] = {
      {{{0, 0}, 1.0}, {-10, -113, 214, 310}, {-10, -113, 214, 310}, {-10, -113, 214, 310}},
      {{{0, 0}, 2.0}, {-10, -113, 214, 310}, {-5, -56, 107, 155}, {-10, -112, 214, 310}},
      {{{0, 0}, 2.0}, {1720, -113, 214, 310}, {860, -56, 107, 155}, {1720, -112, 214, 310}},
      {{{0, 0}, 1.5}, {-10, -113, 214, 310}, {-7, -75, 143, 207}, {-10, -112, 215, 311}},
      {{{0, 0}, 1.5}, {1720, -113, 214, 310}, {1147, -75, 143, 207}, {1721, -112, 215, 311}},
      // A second screen to the right of a 1920-pixel one: its origin stays where it is.
      {{{1920, 0}, 2.0}, {1910, -113, 214, 310}, {1915, -56, 107, 155}, {1910, -112, 214, 310}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.scale.to_logical(c.device), c.logical) << c.scale.ratio;
    EXPECT_EQ(c.scale.to_device(c.logical), c.back) << c.scale.ratio;
  }
  EXPECT_EQ((ScreenScale{{0, 0}, 1.5}).to_logical(kEditorMargin), 1);
  EXPECT_EQ((ScreenScale{{0, 0}, 2.0}).to_logical(kEditorMargin), 1);
  EXPECT_EQ((ScreenScale{{0, 0}, 1.0}).to_logical(kEditorMargin), 2);
}

TEST(PluginWindow, CornersLieInsideTheAvailableAreaOriginIncluded) {
  struct Case {
    QRect available;
    QSize size;
    QRect left, right;
  };
  const Case cases[] = {
      {{0, 0, 1920, 1080}, {204, 197}, {0, 0, 204, 197}, {1716, 0, 204, 197}},
      {{0, 28, 1920, 1052}, {204, 197}, {0, 28, 204, 197}, {1716, 28, 204, 197}},     // a top panel
      {{40, 0, 1880, 1080}, {204, 197}, {40, 0, 204, 197}, {1716, 0, 204, 197}},      // a left panel
      {{1920, 0, 1280, 1024}, {204, 197}, {1920, 0, 204, 197}, {2996, 0, 204, 197}},  // a screen on the right
      {{0, 0, 150, 100}, {204, 197}, {0, 0, 150, 100}, {0, 0, 150, 100}},             // cut to the area
  };
  for (const Case& c : cases) {
    EXPECT_EQ(window_at_corner(Corner::kTopLeft, c.available, c.size), c.left)
        << c.available.x() << "," << c.available.y();
    EXPECT_EQ(window_at_corner(Corner::kTopRight, c.available, c.size), c.right)
        << c.available.x() << "," << c.available.y();
  }
}

// Struts count on the monitor whose edge span they meet and into which they reach; the work area
// serves only where no panel publishes a strut.
TEST(PluginWindow, TheMonitorsWorkAreaIsWhatThePanelsStrutsLeaveOnIt) {
  const QSize screen(4480, 1440);
  const QRect primary(1920, 0, 2560, 1440);
  const QRect side(0, 360, 1920, 1080);
  // tint2 on each monitor: 30 px on the primary, and 30 px below the side monitor's top.
  const Strut on_primary{0, 0, 30, 0, 0, 0, 0, 0, 1920, 4479, 0, 0};
  const Strut on_side{0, 0, 390, 0, 0, 0, 0, 0, 0, 1919, 0, 0};
  const QRect merged(0, 390, 4480, 1050);  // the one rectangle some window managers publish
  struct Case {
    const char* name;
    QRect monitor;
    std::vector<Strut> struts;
    QRect work_area, want;
  };
  const Case cases[] = {
      {"both panels, primary", primary, {on_primary, on_side}, merged, {1920, 30, 2560, 1410}},
      {"both panels, side", side, {on_primary, on_side}, merged, {0, 390, 1920, 1050}},
      {"only the side's panel", primary, {on_side}, merged, primary},
      {"no panel: the work area", primary, {}, {0, 26, 4480, 1414}, {1920, 26, 2560, 1414}},
      {"no panel, no work area", primary, {}, {}, primary},
      {"left, right and bottom panels",
       primary,
       {{2000, 0, 0, 0, 0, 1439, 0, 0, 0, 0, 0, 0},
        {0, 40, 0, 0, 0, 0, 0, 1439, 0, 0, 0, 0},
        {0, 0, 0, 50, 0, 0, 0, 0, 0, 0, 1920, 4479}},
       {},
       {2000, 0, 2440, 1390}},
      {"a right panel of the side monitor's span",
       side,
       {{0, 2560, 0, 0, 0, 0, 360, 1439, 0, 0, 0, 0}},
       {},
       {0, 360, 1920, 1080}},
      {"a panel that takes it all", primary, {{0, 0, 1440, 0, 0, 0, 0, 0, 1920, 4479, 0, 0}}, {}, primary},
  };
  for (const Case& c : cases)
    EXPECT_EQ(monitor_work_area(c.monitor, screen, c.struts, c.work_area), c.want) << c.name;
}

TEST(PluginWindow, TheTrayMovesTheWindowThroughTheBus) {
  QApplication& app = test_application();
  auto plugin = load_recorder();
  QVstPluginItemWidget window(plugin.get());
  window.show_plugin();
  app.processEvents();
  const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
  EXPECT_EQ(window.geometry(), QRect(available.topLeft(), QSize(204, 197)));
  emit TvDataBus::instance()->move_to_right_signal();
  EXPECT_EQ(window.geometry(), window_at_corner(Corner::kTopRight, available, QSize(204, 197)));
  EXPECT_EQ(window.display_widget()->geometry(), QRect(-8, -111, 399, 470));
  emit TvDataBus::instance()->move_to_left_signal();
  EXPECT_EQ(window.geometry(), QRect(available.topLeft(), QSize(204, 197)));
  EXPECT_EQ(sent(effEditGetRect).size(), 3u);
}

TEST(PluginWindow, RaisingIsSkippedWhileOwnPopupsAreOpenAndCloseIsRefused) {
  QApplication& app = test_application();
  auto plugin = load_recorder();
  QVstPluginItemWidget window(plugin.get());
  EXPECT_FALSE(window.raise_to_top()) << "hidden";
  window.show_plugin();
  app.processEvents();
  EXPECT_TRUE(window.raise_to_top());
  QMenu menu;
  menu.addAction(QStringLiteral("entry"));
  menu.popup(QPoint(100, 100));
  app.processEvents();
  EXPECT_FALSE(window.raise_to_top());
  menu.close();
  app.processEvents();
  EXPECT_TRUE(window.raise_to_top());

  QCloseEvent close;
  QCoreApplication::sendEvent(&window, &close);
  EXPECT_FALSE(close.isAccepted());
  EXPECT_TRUE(window.isVisible());
}

TEST(PluginWindow, IdleEveryFiftyMillisecondsOnceTheEditorIsOpen) {
  QApplication& app = test_application();
  auto plugin = load_recorder();
  QVstPluginItemWidget window(plugin.get());
  window.show_plugin();
  clear_recorded_calls();
  QElapsedTimer clock;
  clock.start();
  while (clock.elapsed() < 300) app.processEvents(QEventLoop::AllEvents, 10);
  const size_t idles = sent(effEditIdle).size();
  EXPECT_GE(idles, 2u);
  EXPECT_LE(idles, 7u);
}

TEST(PluginWindow, WithoutAPluginTheWindowShowsEmpty) {
  QApplication& app = test_application();
  clear_recorded_calls();
  {
    QVstPluginItemWidget window(nullptr);
    window.show_plugin();
    app.processEvents();
    EXPECT_TRUE(window.isVisible());
    const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_EQ(window.geometry(), QRect(available.topLeft(), QSize(791, 566))) << "the form's size";
    EXPECT_EQ(window.display_widget()->geometry(), QRect(2, 2, 791, 566));
    window.move_to_right();
  }
  EXPECT_TRUE(recorded_calls().empty());
}

}  // namespace
