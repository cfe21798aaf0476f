// Starts the calculator: one window, centred on the screen, until it is closed.
#include <QApplication>
#include <cstdio>
#include <cstdlib>

#include "app/startup.h"
#include "window/main_window.h"

namespace {

// Qt aborts with a long message when it finds no display; a user started from a text console or
// an SSH session gets one plain line instead.
bool HasGraphicalSession() {
#if defined(Q_OS_LINUX) || defined(Q_OS_FREEBSD)
  for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
    const char* value = std::getenv(name);
    if (value && *value) return true;
  }
  return false;
#else
  return true;
#endif
}

}  // namespace

int main(int argc, char** argv) {
  if (!HasGraphicalSession()) {
    std::fputs("frustum: a graphical session is needed to show the calculator's window.\n", stderr);
    return 1;
  }
  startup::PrepareApplicationStart();
  QApplication app(argc, argv);
  startup::FinishApplicationStart(app);
  QApplication::setApplicationName(QStringLiteral("frustum"));
  QApplication::setApplicationVersion(QStringLiteral(FRUSTUM_VERSION));

  MainWindow window;
  QApplication::setWindowIcon(window.windowIcon());
  startup::CentreWholeFrame(window);
  window.show();
  return QApplication::exec();
}
