// The floor of start-up that bench/startup.sh measures the calculator against: the least a Qt
// Widgets program does to show a window, one empty QWidget, with nothing of the calculator.
#include <QApplication>
#include <QWidget>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QWidget window;
  window.show();
  return QApplication::exec();
}
