// The frameless, half-transparent, top-most window that holds the plug-in's editor, parked at a
// corner of the screen and kept alive by a 50 ms idle timer.
#pragma once

#include "host/app/X11Display.h"
#include "host/vst/TvMultimeterPlugin.h"

#include <QTimer>
#include <QWidget>

namespace tolvaran {

// UI thread. Its window flags and opacity are set before any native window exists: changing
// flags later recreates the native windows and destroys the one the editor lives in. The editor
// draws in device pixels, so the window is sized and parked in device pixels whatever the
// desktop's scale.
class QVstPluginItemWidget : public QWidget {
  Q_OBJECT

 public:
  // plugin may be null: the window then shows empty.
  explicit QVstPluginItemWidget(TvMultimeterPlugin* plugin);
  // Closes the editor while its native parent still exists.
  ~QVstPluginItemWidget() override;

  // Opens the editor in the display widget, parks the window at the top-left corner and shows it.
  void show_plugin();
  QWidget* display_widget() const { return display_; }
  TvMultimeterPlugin* plugin() const { return plugin_; }

  // Raises the window above others without activating it; skipped (false) while hidden or while
  // one of the program's own popups or dialogs is open.
  bool raise_to_top();

 public slots:
  void move_to_left();
  void move_to_right();
  void update_plugin_ui_ontime();

 protected:
  void paintEvent(QPaintEvent* event) override;
  // The window belongs to main: a request to close it is refused.
  void closeEvent(QCloseEvent* event) override;

 private:
  enum class Corner { kLeft, kRight };

  void set_up_form();
  // Sizes the window to the editor's crop and parks it at the corner of the primary screen.
  void park(Corner corner);
  // Corrects the native window to device_geometry_ where Qt's rounding misses it.
  void place_exactly();
  void detach_plugin();

  QWidget* display_ = nullptr;
  TvMultimeterPlugin* plugin_ = nullptr;
  QTimer* idle_timer_ = nullptr;
  // Where the window is to be, in device pixels; Qt's geometry is its nearest approximation.
  QRect device_geometry_{};
  X11Placement placement_{};
};

}  // namespace tolvaran
