// Entry point of the Qt-based tests. They run headless: Qt's offscreen platform is selected here,
// before any application object exists, so no display is needed on developer or CI machines.
#include <gtest/gtest.h>

#include <QCoreApplication>

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QCoreApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
