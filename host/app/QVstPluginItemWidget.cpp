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

// Without an editor the display widget starts at the layout's margin but is as large as the
// window, so it runs past the right and bottom edges and no margin shows there. With an editor it
// goes where the window puts it, which may lie partly outside the window.
class EditorLayout : public QHBoxLayout {
 public:
  using QHBoxLayout::QHBoxLayout;

  void set_editor_area(const QRect& area) {
    area_ = area;
    invalidate();
  }

  void setGeometry(const QRect& rect) override {
    QWidget* widget = itemAt(0) ? itemAt(0)->widget() : nullptr;
    if (widget && !area_.isEmpty()) {
      QLayout::setGeometry(rect);
      widget->setGeometry(area_);
      return;
    }
    QHBoxLayout::setGeometry(rect);
    if (widget) widget->resize(rect.size());
  }

 private:
  QRect area_{};
};

namespace {

constexpr int kIdleMilliseconds = 50;
constexpr int kEditorOpenIndex = 10;
constexpr intptr_t kEditorOpenValue = 20;

ScreenScale scale_of(const QScreen& screen) {
  return ScreenScale{screen.geometry().topLeft(), screen.devicePixelRatio()};
}

bool on_xcb() { return QGuiApplication::platformName() == QLatin1String("xcb"); }

// Whether Qt, which names geometry in device-independent pixels, cannot put a window here exactly.
bool qt_misses(const ScreenScale& scale, const QRect& device) {
  return device.isValid() && scale.to_device(scale.to_logical(device)) != device;
}

}  // namespace

QVstPluginItemWidget::QVstPluginItemWidget(TvMultimeterPlugin* plugin) : QWidget(nullptr), plugin_(plugin) {
  // It never takes the keyboard: a window manager that focuses what stays shown (xfwm4 on
  // show desktop) would take it from the user's program.
  setWindowFlags((windowFlags() & ~Qt::WindowMinimizeButtonHint) | Qt::FramelessWindowHint |
                 Qt::WindowStaysOnTopHint | Qt::Tool | Qt::WindowDoesNotAcceptFocus);
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
  // A panel or monitor that starts, ends or changes after the window is placed would otherwise
  // cover it or leave it elsewhere. Qt tells of monitors once it has updated its screens; the
  // server tells of work areas and struts in device pixels, which Qt rounds.
  const auto follow = [this](QScreen* screen) {
    connect(screen, &QScreen::geometryChanged, this, &QVstPluginItemWidget::follow_desktop,
            Qt::QueuedConnection);
    connect(screen, &QScreen::availableGeometryChanged, this, &QVstPluginItemWidget::follow_desktop,
            Qt::QueuedConnection);
  };
  for (QScreen* screen : QGuiApplication::screens()) follow(screen);
  connect(qApp, &QGuiApplication::screenAdded, this, [this, follow](QScreen* screen) {
    follow(screen);
    QTimer::singleShot(0, this, &QVstPluginItemWidget::follow_desktop);
  });
  connect(qApp, &QGuiApplication::screenRemoved, this, &QVstPluginItemWidget::follow_desktop,
          Qt::QueuedConnection);
  connect(qApp, &QGuiApplication::primaryScreenChanged, this, &QVstPluginItemWidget::follow_desktop,
          Qt::QueuedConnection);
  if (on_xcb()) placement_.watch([this] { follow_desktop(); });
}

QVstPluginItemWidget::~QVstPluginItemWidget() { detach_plugin(); }

void QVstPluginItemWidget::set_up_form() {
  setObjectName(QStringLiteral("QVstPluginItemWidget"));
  resize(791, 566);
  layout_ = new EditorLayout(this);
  layout_->setSpacing(0);
  // The crop may be smaller than the display widget's minimum height in device-independent pixels.
  layout_->setSizeConstraint(QLayout::SetNoConstraint);
  layout_->setObjectName(QStringLiteral("horizontalLayout_2"));
  layout_->setContentsMargins(kEditorMargin, kEditorMargin, kEditorMargin, kEditorMargin);
  display_ = new QWidget(this);
  display_->setObjectName(QStringLiteral("vst_display_widget"));
  QSizePolicy policy(QSizePolicy::Expanding, QSizePolicy::Preferred);
  policy.setHeightForWidth(display_->sizePolicy().hasHeightForWidth());
  display_->setSizePolicy(policy);
  display_->setMinimumSize(0, 100);
  display_->setStyleSheet(QStringLiteral("background-color: rgb(62, 62, 62);"));
  layout_->addWidget(display_);
}

void QVstPluginItemWidget::show_plugin() {
  if (plugin_) {
    plugin_->set_window(this);
    const auto parent = static_cast<uintptr_t>(display_->winId());
    plugin_->edit_open(reinterpret_cast<void*>(parent), kEditorOpenIndex, kEditorOpenValue);
  }
  move_to_left();
  show_on_top();
}

void QVstPluginItemWidget::move_to_left() {
  park(Corner::kTopLeft);
  bring_back();
}

void QVstPluginItemWidget::move_to_right() {
  park(Corner::kTopRight);
  bring_back();
}

void QVstPluginItemWidget::follow_desktop() {
  if (isVisible()) park(corner_);
}

void QVstPluginItemWidget::show_on_top() {
  const bool x11 = on_xcb();
  if (x11) placement_.keep_off_task_bars(winId());
  show();
  // A window manager may drop the state the window carried when it manages the window anew.
  if (x11) placement_.keep_off_task_bars(winId());
  // Only now is there a native window without a plug-in, and showing may have moved it.
  place_exactly();
  raise_to_top();
}

void QVstPluginItemWidget::bring_back() {
  if (!isVisible() || !on_xcb() || placement_.viewable(winId())) return;
  // While the window manager shows the desktop, some keep every window hidden, even a new one,
  // and showing the windows again is what a task bar's button would do. That brings back a
  // window hidden for it, not one minimized.
  if (placement_.leave_showing_desktop() && !(windowState() & Qt::WindowMinimized)) return;
  // Mapped again, a minimized window gets the focus from some window managers. Withdrawn and
  // shown, it is a new window, which shows in front without taking the focus.
  hide();
  setWindowState(windowState() & ~Qt::WindowMinimized);
  show_on_top();
}

QRect QVstPluginItemWidget::available_area(const QScreen& screen) {
  const ScreenScale scale = scale_of(screen);
  const QRect whole = scale.to_device(screen.geometry());
  // Qt's available geometry is the work area rounded to device-independent pixels, and on
  // several monitors the whole desktop's.
  QRect available = on_xcb() ? placement_.work_area(whole) : QRect();
  if (available.isEmpty()) available = scale.to_device(screen.availableGeometry());
  available &= whole;
  return available.isEmpty() ? whole : available;
}

void QVstPluginItemWidget::park(Corner corner) {
  corner_ = corner;
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (!screen) return;
  const ScreenScale scale = scale_of(*screen);
  ERect* rect = nullptr;
  if (plugin_) plugin_->edit_get_rect(&rect);
  const QSize editor = rect ? QSize(rect->right - rect->left, rect->bottom - rect->top) : QSize();
  const QRect crop = rect ? editor_crop(editor.width(), editor.height()) : QRect();
  const QSize size = crop.isEmpty() ? scale.to_device(geometry()).size() : crop.size();
  device_geometry_ = window_at_corner(corner, available_area(*screen), size);
  // The editor at its own top-left corner in the display widget, offset so that the crop's
  // top-left corner is the window's.
  display_geometry_ = crop.isEmpty() ? QRect() : QRect(-crop.topLeft(), editor);

  const int margin = scale.to_logical(kEditorMargin);
  layout_->setContentsMargins(margin, margin, margin, margin);
  const ScreenScale in_window{QPoint(), scale.ratio};
  layout_->set_editor_area(display_geometry_.isEmpty() ? QRect() : in_window.to_logical(display_geometry_));
  const QRect logical = scale.to_logical(device_geometry_);
  move(logical.topLeft());
  resize(logical.size());
  layout_->activate();
  place_exactly();
}

void QVstPluginItemWidget::place_exactly() {
  if (!testAttribute(Qt::WA_WState_Created) || !on_xcb()) return;
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (!screen) return;
  const ScreenScale scale = scale_of(*screen);
  // Scaled, Qt also asks the window manager for sizes in steps of the scale; and after its screens
  // changed, Qt may take a move to where it believes the window stands for nothing to do.
  if (device_geometry_.isValid()) placement_.place(winId(), device_geometry_);
  // A child's position counts from its parent, not from the screen.
  if (display_ && display_->internalWinId() &&
      qt_misses(ScreenScale{QPoint(), scale.ratio}, display_geometry_))
    placement_.place(display_->internalWinId(), display_geometry_);
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
