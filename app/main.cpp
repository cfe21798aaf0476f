// Starts the calculator: one window, centred on the screen, until it is closed.
#include <QApplication>
#include <cstdio>

#include "app/startup.h"
#include "window/main_window.h"

using namespace Qt::StringLiterals;

int main(int argc, char** argv) {
  const startup::Session session = startup::ReadSession();
  if (!startup::HasGraphicalSession(session)) {
    std::fputs("frustum: a graphical session is needed to show the calculator's window.\n", stderr);
    return 1;
  }
  startup::PrepareApplicationStart(session);
  QApplication app(argc, argv);
  startup::FinishApplicationStart(app);
  QApplication::setApplicationName(u"frustum"_s);
  QApplication::setApplicationVersion(QString::fromUtf8(FRUSTUM_VERSION));

  MainWindow window;
  QApplication::setWindowIcon(window.windowIcon());
  window.CentreOnScreen(startup::FrameExtents(window));
  window.show();
  return QApplication::exec();
}
