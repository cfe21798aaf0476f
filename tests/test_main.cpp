// Entry point of the tests that drive real widgets. They run headless: unless QT_QPA_PLATFORM
// is already set (a developer may set it to xcb to watch a test run), Qt's offscreen platform
// is selected here, before any application object exists, so no display is needed on developer
// or CI machines. The regional format is Bulgarian, so that results are checked as a Bulgarian
// user reads them, whatever the machine's own settings. It is set as Qt's default locale, which
// the window's formatting follows, since Windows takes the regional format from the user's
// settings and not from LC_ALL; LC_ALL stays for the parts of Qt that read the environment on
// Linux.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLocale>

int main(int argc, char** argv) {
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  qputenv("LC_ALL", "bg_BG.UTF-8");
  QApplication app(argc, argv);
  QLocale::setDefault(QLocale(QLocale::Bulgarian, QLocale::Bulgaria));
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
