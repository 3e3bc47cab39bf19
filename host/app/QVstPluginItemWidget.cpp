#include "host/app/QVstPluginItemWidget.h"

#include "host/app/PluginWindowGeometry.h"
#include "host/app/TvDataBus.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QPainter>
#include <QScreen>
#include <QStyleOption>

namespace tolvaran {

namespace {

constexpr int kIdleMilliseconds = 50;
constexpr int kEditorOpenIndex = 10;
constexpr intptr_t kEditorOpenValue = 20;

ScreenScale scale_of(const QScreen& screen) {
  return ScreenScale{screen.geometry().topLeft(), screen.devicePixelRatio()};
}

// The editor's display widget starts at the layout's margin but is as large as the window, so it
// runs past the right and bottom edges, where the editor goes on, and no margin shows there.
class EditorLayout : public QHBoxLayout {
 public:
  using QHBoxLayout::QHBoxLayout;

  void setGeometry(const QRect& rect) override {
    QHBoxLayout::setGeometry(rect);
    if (QLayoutItem* item = itemAt(0))
      if (QWidget* widget = item->widget()) widget->resize(rect.size());
  }
};

}  // namespace

QVstPluginItemWidget::QVstPluginItemWidget(TvMultimeterPlugin* plugin) : QWidget(nullptr), plugin_(plugin) {
  setWindowFlags((windowFlags() & ~Qt::WindowMinimizeButtonHint) | Qt::FramelessWindowHint |
                 Qt::WindowStaysOnTopHint | Qt::Tool);
  setAttribute(Qt::WA_ShowWithoutActivating);
  setWindowOpacity(0.5);
  set_up_form();
  setWindowTitle(QStringLiteral("Caldmere"));
  idle_timer_ = new QTimer(this);
  connect(idle_timer_, &QTimer::timeout, this, &QVstPluginItemWidget::update_plugin_ui_ontime);
  idle_timer_->start(kIdleMilliseconds);
  connect(TvDataBus::instance(), &TvDataBus::move_to_left_signal, this, &QVstPluginItemWidget::move_to_left);
  connect(TvDataBus::instance(), &TvDataBus::move_to_right_signal, this,
          &QVstPluginItemWidget::move_to_right);
}

QVstPluginItemWidget::~QVstPluginItemWidget() { detach_plugin(); }

void QVstPluginItemWidget::set_up_form() {
  setObjectName(QStringLiteral("QVstPluginItemWidget"));
  resize(791, 566);
  auto* layout = new EditorLayout(this);
  layout->setSpacing(0);
  layout->setObjectName(QStringLiteral("horizontalLayout_2"));
  layout->setContentsMargins(kEditorMargin, kEditorMargin, kEditorMargin, kEditorMargin);
  display_ = new QWidget(this);
  display_->setObjectName(QStringLiteral("vst_display_widget"));
  QSizePolicy policy(QSizePolicy::Expanding, QSizePolicy::Preferred);
  policy.setHeightForWidth(display_->sizePolicy().hasHeightForWidth());
  display_->setSizePolicy(policy);
  display_->setMinimumSize(0, 100);
  display_->setStyleSheet(QStringLiteral("background-color: rgb(62, 62, 62);"));
  layout->addWidget(display_);
}

void QVstPluginItemWidget::show_plugin() {
  if (plugin_) {
    plugin_->set_window(this);
    const auto parent = static_cast<uintptr_t>(display_->winId());
    plugin_->edit_open(reinterpret_cast<void*>(parent), kEditorOpenIndex, kEditorOpenValue);
  }
  move_to_left();
  show();
  // Only now is there a native window without a plug-in, and showing may have moved it.
  place_exactly();
  raise_to_top();
}

void QVstPluginItemWidget::move_to_left() { park(Corner::kLeft); }
void QVstPluginItemWidget::move_to_right() { park(Corner::kRight); }

void QVstPluginItemWidget::park(Corner corner) {
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (!screen) return;
  const ScreenScale scale = scale_of(*screen);
  const QRect available = scale.to_device(screen->availableGeometry());
  QSize size = scale.to_device(geometry()).size();
  ERect* rect = nullptr;
  if (plugin_) plugin_->edit_get_rect(&rect);
  if (rect) size = plugin_window_size(rect->right - rect->left, rect->bottom - rect->top);
  device_geometry_ =
      QRect(corner == Corner::kLeft ? top_left_corner(available) : top_right_corner(available), size);

  const int margin = scale.to_logical(kEditorMargin);
  layout()->setContentsMargins(margin, margin, margin, margin);
  const QRect logical = scale.to_logical(device_geometry_);
  move(logical.topLeft());
  resize(logical.size());
  place_exactly();
}

void QVstPluginItemWidget::place_exactly() {
  if (!testAttribute(Qt::WA_WState_Created) || QGuiApplication::platformName() != QLatin1String("xcb"))
    return;
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (!screen) return;
  // Qt's own placement is exact wherever the scale divides the device pixels, as at scale 1.
  const ScreenScale scale = scale_of(*screen);
  if (scale.to_device(scale.to_logical(device_geometry_)) == device_geometry_) return;
  placement_.place(winId(), device_geometry_);
}

bool QVstPluginItemWidget::raise_to_top() {
  if (!isVisible() || QApplication::activePopupWidget() || QApplication::activeModalWidget()) return false;
  raise();
  return true;
}

void QVstPluginItemWidget::update_plugin_ui_ontime() {
  if (!plugin_) return;
  plugin_->edit_idle();
  raise_to_top();
}

void QVstPluginItemWidget::detach_plugin() {
  if (plugin_) {
    plugin_->set_window(nullptr);
    plugin_->edit_close();
    plugin_ = nullptr;
  }
  if (display_) {
    delete display_;
    display_ = nullptr;
  }
}

void QVstPluginItemWidget::paintEvent(QPaintEvent* event) {
  QStyleOption option;
  option.initFrom(this);
  QPainter painter(this);
  style()->drawPrimitive(QStyle::PE_Widget, &option, &painter, this);
  QWidget::paintEvent(event);
}

void QVstPluginItemWidget::closeEvent(QCloseEvent* event) { event->ignore(); }

}  // namespace tolvaran
