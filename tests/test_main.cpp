// Entry point of the tests that drive real widgets. They run headless: unless QT_QPA_PLATFORM
// is already set (a developer may set it to xcb to watch a test run), Qt's offscreen platform
// is selected here, before any application object exists, so no display is needed on developer
// or CI machines. The regional format is Bulgarian, so that results are checked as a Bulgarian
// user reads them, whatever the machine's own settings. It is set as Qt's default locale, which
// the window's formatting follows, since Windows takes the regional format from the user's
// settings and not from LC_ALL; LC_ALL stays for the parts of Qt that read the environment on
// Linux. A desktop's look can be given as its platform theme gives it, before any window is
// built: FRUSTUM_TEST_STYLE names a Qt style, and FRUSTUM_TEST_SCHEME=dark sets a dark palette
// modelled on KDE's Breeze Dark (names of the program's own, which Wine passes on).
#include <gtest/gtest.h>

#include <QApplication>
#include <QLocale>
#include <QPalette>

int main(int argc, char** argv) {
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  qputenv("LC_ALL", "bg_BG.UTF-8");
  QApplication app(argc, argv);
  QLocale::setDefault(QLocale(QLocale::Bulgarian, QLocale::Bulgaria));
  if (qEnvironmentVariableIsSet("FRUSTUM_TEST_STYLE")) {
    QApplication::setStyle(qEnvironmentVariable("FRUSTUM_TEST_STYLE"));
  }
  if (qEnvironmentVariable("FRUSTUM_TEST_SCHEME") == u"dark") {
    QPalette dark(QColor(41, 44, 48), QColor(32, 35, 38));  // button, window
    for (auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText,
                      QPalette::HighlightedText, QPalette::ToolTipText}) {
      dark.setColor(role, QColor(252, 252, 252));
    }
    dark.setColor(QPalette::Base, QColor(20, 22, 24));
    dark.setColor(QPalette::ToolTipBase, QColor(41, 44, 48));
    dark.setColor(QPalette::Highlight, QColor(61, 174, 233));
    QApplication::setPalette(dark);
  }
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
