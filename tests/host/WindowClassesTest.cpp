// The frameless window base, its title tool bar and the main-window form.
#include "host/app/widgets/QMaxMinToolBar.h"
#include "host/app/widgets/QWidgetNoTitle.h"
#include "host/app/widgets/Tolvaran.h"
#include "tests/host/TestApplication.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QImage>
#include <QLayout>
#include <QMouseEvent>

using namespace tolvaran;

namespace {

QStringList button_names(const QMaxMinToolBar& bar) {
  QStringList names;
  if (!bar.layout()) return names;
  for (int i = 0; i < bar.layout()->count(); ++i) names << bar.layout()->itemAt(i)->widget()->objectName();
  return names;
}

TEST(QMaxMinToolBar, ButtonSetsMakeTheirButtonsInOrder) {
  test_application();
  struct Case {
    int buttons;
    QStringList names;
  };
  const Case cases[] = {
      {7, {"user_window_min_btn", "user_window_max_btn", "user_window_close_btn"}},
      {15, {"user_window_more_btn", "user_window_min_btn", "user_window_max_btn", "user_window_close_btn"}},
      {QMaxMinToolBar::Close, {"user_window_close_btn"}},
      {0, {}},
  };
  for (const Case& c : cases) {
    QMaxMinToolBar bar(c.buttons);
    EXPECT_EQ(button_names(bar), c.names) << c.buttons;
    const QSize expected = c.buttons ? QSize(22 * c.names.size(), 29) : QSize(0, 0);
    EXPECT_EQ(bar.sizeHint(), expected) << c.buttons;
    for (QPushButton* b : {bar.more_button(), bar.min_button(), bar.max_button(), bar.close_button()}) {
      if (!b) continue;
      EXPECT_TRUE(b->isCheckable() && b->isChecked());
      EXPECT_EQ(b->minimumSize(), QSize(22, 29));
      EXPECT_EQ(b->maximumSize(), QSize(22, 29));
    }
  }
  QMaxMinToolBar default_bar(nullptr);
  EXPECT_EQ(default_bar.buttons(), 7);
}

class NoTitle : public ::testing::Test {
 protected:
  void SetUp() override {
    window_.resize(300, 200);
    window_.move(100, 100);
    window_.set_title_tool_bar(15);
    window_.show();
    app_->processEvents();
  }

  void mouse(QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held) {
    QMouseEvent event(type, at, window_.mapToGlobal(at), button, held, Qt::NoModifier);
    QCoreApplication::sendEvent(&window_, &event);
  }

  QApplication* app_ = &test_application();  // before any widget
  QWidgetNoTitle window_;
};

TEST_F(NoTitle, IsFramelessTranslucentWithItsToolBarTopRight) {
  EXPECT_TRUE(window_.windowFlags() & Qt::FramelessWindowHint);
  EXPECT_TRUE(window_.testAttribute(Qt::WA_TranslucentBackground));
  ASSERT_NE(window_.title_tool_bar(), nullptr);
  EXPECT_EQ(window_.title_tool_bar()->geometry(), QRect(300 - 88 - 14, 10, 88, 29));
}

TEST_F(NoTitle, ToolBarButtonsReachTheirSlots) {
  int max_signals = 0;
  int close_signals = 0;
  QObject::connect(&window_, &QWidgetNoTitle::BarEmitMinMax, [&] { ++max_signals; });
  QObject::connect(&window_, &QWidgetNoTitle::close_signal, [&] { ++close_signals; });

  window_.title_tool_bar()->max_button()->click();
  EXPECT_EQ(max_signals, 1);
  window_.title_tool_bar()->more_button()->click();
  EXPECT_FALSE(window_.isVisible()) << "more hides the window";

  window_.show();
  window_.title_tool_bar()->close_button()->click();
  EXPECT_EQ(close_signals, 0) << "the close signal is off by default";
  window_.set_emit_close_signal(true);
  window_.title_tool_bar()->close_button()->click();
  EXPECT_EQ(close_signals, 1);
  QElapsedTimer waited;
  waited.start();
  while (window_.isVisible() && waited.elapsed() < 3000) app_->processEvents(QEventLoop::AllEvents, 20);
  EXPECT_FALSE(window_.isVisible()) << "closed when the fade has finished";
}

TEST_F(NoTitle, DragsFromTheTopBandOnly) {
  const QRect bar = window_.title_tool_bar()->geometry();
  mouse(QEvent::MouseButtonPress, QPoint(20, bar.bottom() + 20), Qt::LeftButton, Qt::LeftButton);
  EXPECT_FALSE(window_.dragging()) << "below the tool bar";
  EXPECT_TRUE(window_.mouse_down());
  mouse(QEvent::MouseButtonRelease, QPoint(20, bar.bottom() + 20), Qt::LeftButton, Qt::NoButton);
  EXPECT_FALSE(window_.mouse_down());

  QPoint centre;
  window_.set_centre_move(true);
  QObject::connect(&window_, &QWidgetNoTitle::centor_move_dst_change_signal, [&](QPoint c) { centre = c; });
  const QPoint start = window_.pos();
  mouse(QEvent::MouseButtonPress, QPoint(20, bar.bottom()), Qt::LeftButton, Qt::LeftButton);
  EXPECT_TRUE(window_.dragging());
  mouse(QEvent::MouseMove, QPoint(50, bar.bottom() + 15), Qt::NoButton, Qt::LeftButton);
  EXPECT_EQ(window_.pos(), start + QPoint(30, 15));
  EXPECT_EQ(centre, window_.geometry().center());
}

TEST_F(NoTitle, PaintsThreeVisibleOutlines) {
  QImage image(window_.size(), QImage::Format_ARGB32);
  image.fill(Qt::transparent);
  window_.title_tool_bar()->hide();
  window_.render(&image, QPoint(), QRegion(), QWidget::RenderFlags());
  struct Case {
    int inset;
    int alpha;
  };
  // Alpha 100 - 60 * sqrt(i) for the i-th outline; the fourth and fifth would be negative.
  for (const Case& c : {Case{10, 100}, Case{9, 40}, Case{8, 15}, Case{7, 0}, Case{6, 0}}) {
    const QColor pixel = image.pixelColor(c.inset, 100);
    EXPECT_NEAR(pixel.alpha(), c.alpha, 1) << "inset " << c.inset;
    if (c.alpha) {
      EXPECT_NEAR(pixel.red(), 209, 8) << "inset " << c.inset;
    }
  }
}

TEST(TolvaranForm, SetsNameSizeAndTitle) {
  test_application();
  Tolvaran form;
  EXPECT_EQ(form.objectName(), "TolvaranClass");
  EXPECT_EQ(form.size(), QSize(600, 400));
  EXPECT_EQ(form.windowTitle(), "Tolvaran");

  QWidget named;
  named.setObjectName("kept");
  Ui::Tolvaran ui;
  ui.setupUi(&named);
  EXPECT_EQ(named.objectName(), "kept");
}

}  // namespace
