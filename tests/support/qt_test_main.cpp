// main() of the window tests: one application object, made before any test and destroyed
// after the last, while Qt's own globals are still alive.
#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  // Window tests never need a display.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
    qputenv("QT_QPA_PLATFORM", GK_OFFSCREEN_PLATFORM);
  }
  QApplication app(argc, argv);
  return RUN_ALL_TESTS();
}
