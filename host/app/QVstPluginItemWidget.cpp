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

QRect available_geometry() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  return screen ? screen->availableGeometry() : QRect();
}

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
  auto* layout = new QHBoxLayout(this);
  layout->setSpacing(0);
  layout->setObjectName(QStringLiteral("horizontalLayout_2"));
  layout->setContentsMargins(2, 2, 2, 2);
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
  raise_to_top();
}

void QVstPluginItemWidget::move_to_left() {
  move(top_left_corner(available_geometry()));
  fit_to_editor();
}

void QVstPluginItemWidget::move_to_right() {
  move(top_right_corner(available_geometry()));
  fit_to_editor();
}

void QVstPluginItemWidget::fit_to_editor() {
  if (!plugin_) return;
  ERect* rect = nullptr;
  plugin_->edit_get_rect(&rect);
  if (!rect) return;
  const QSize size =
      plugin_window_size(rect->right - rect->left, rect->bottom - rect->top, devicePixelRatioF());
  // The display widget fills the window but for the layout's margins.
  display_->resize(size);
  resize(size);
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
