// The frameless, half-transparent, top-most window that holds the plug-in's editor, showing only
// the editor's phase scope, parked at a corner of the primary monitor's work area and kept alive
// by a 50 ms idle timer.
#pragma once

#include "host/app/PluginWindowGeometry.h"
#include "host/app/X11Display.h"
#include "host/vst/TvMultimeterPlugin.h"

#include <QTimer>
#include <QWidget>

class QScreen;

namespace tolvaran {

class EditorLayout;

// UI thread. Its window flags and opacity are set before any native window exists: changing
// flags later recreates the native windows and destroys the one the editor lives in. The editor
// draws in device pixels, so the window is sized and parked in device pixels whatever the
// desktop's scale. The window lies wholly inside the primary monitor's work area, so no window
// manager moves it and no panel covers it; it follows every change of that area, of the panels and
// of the monitors. A tool window: no task bar or pager lists it, so the corner entries are the way
// back when it was minimized or hidden.
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
  // Park the window at a corner and bring it back where it was minimized or hidden.
  void move_to_left();
  void move_to_right();
  void update_plugin_ui_ontime();

 protected:
  void paintEvent(QPaintEvent* event) override;
  // The window belongs to main: a request to close it is refused.
  void closeEvent(QCloseEvent* event) override;

 private:
  void set_up_form();
  // The primary monitor's work area in device pixels.
  QRect available_area(const QScreen& screen);
  // Sizes the window to the editor's crop and parks it at the corner of the primary screen.
  void park(Corner corner);
  void follow_desktop();
  // Shows the window, off task bars and pagers, in its place and on top, without activating it.
  void show_on_top();
  // A window that is shown but not mapped, minimized or hidden by the window manager, is shown anew.
  void bring_back();
  // Corrects the native windows to device_geometry_ and display_geometry_ where Qt's rounding
  // misses them.
  void place_exactly();
  void detach_plugin();

  QWidget* display_ = nullptr;
  EditorLayout* layout_ = nullptr;
  TvMultimeterPlugin* plugin_ = nullptr;
  QTimer* idle_timer_ = nullptr;
  // Where the window is to be, in device pixels; Qt's geometry is its nearest approximation.
  QRect device_geometry_{};
  // Where the display widget is to be inside the window, in device pixels; empty: at the layout's
  // margin (no editor).
  QRect display_geometry_{};
  Corner corner_ = Corner::kTopLeft;
  X11Placement placement_{};
};

}  // namespace tolvaran
