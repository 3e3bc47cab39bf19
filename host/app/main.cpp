// Tolvaran: captures what the default sink plays, feeds it to libvarnis and shows the plug-in's
// editor in a small top-most window; a tray menu parks the window and quits.
#include "host/app/QVstPluginItemWidget.h"
#include "host/app/QuitOnSignals.h"
#include "host/app/SingleInstance.h"
#include "host/app/TvHttpClient.h"
#include "host/app/TvTrayWidget.h"
#include "host/app/X11Display.h"
#include "host/audio/HostEngine.h"
#include "host/capture/TvSpeakerLoopback.h"

#include <QApplication>

#include <cstdio>
#include <string>

using namespace tolvaran;

int main(int argc, char** argv) {
  // Qt aborts when its X display cannot be reached; say which one and leave instead. The check
  // stays out of the way of a platform other than X chosen on purpose.
  const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
  if (platform.isEmpty() || platform.startsWith("xcb")) {
    const std::string problem = x_display_problem();
    if (!problem.empty()) {
      std::fprintf(stderr, "%s\n", problem.c_str());
      return 2;
    }
  }
  QCoreApplication::setAttribute(Qt::AA_UseSoftwareOpenGL);
  QCoreApplication::setAttribute(Qt::AA_EnableHighDpiScaling);
  QApplication app(argc, argv);
  SingleInstance instance;
  if (!instance.acquire()) return 0;
  // The about box is a window too: closing it must not end the program.
  QApplication::setQuitOnLastWindowClosed(false);
  QuitOnSignals quit_on_signals;

  TvTrayWidget tray;
  tray.show();
  tvhttpclient web_client;
  HostEngine& engine = HostEngine::instance();
  TvSpeakerLoopback loopback;
  engine.set_sample_rate(TvSpeakerLoopback::query_mix_sample_rate());
  engine.start();
  QVstPluginItemWidget window(engine.plugin());
  window.show_plugin();
  loopback.start_capture();

  const int code = QApplication::exec();

  // Nothing may run the plug-in once the engine and the window are gone.
  loopback.stop_capture();
  HostEngine::destroy_instance();
  return code;
}
