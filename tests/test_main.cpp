// Entry point of the Qt-based tests. They run headless: Qt's offscreen platform is selected here,
// before any application object exists, so no display is needed on developer or CI machines.
// The regional format is Bulgarian, so that results are checked as a Bulgarian user reads them,
// whatever the machine's own settings.
#include <gtest/gtest.h>

#include <QApplication>

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  qputenv("LC_ALL", "bg_BG.UTF-8");
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
