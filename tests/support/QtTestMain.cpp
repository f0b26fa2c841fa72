// The main of the test programs that open windows: a QApplication on the offscreen platform
// unless another one is asked for, GoogleTest, and a clean stop of the Firebird client.
#include <gtest/gtest.h>

#include <QApplication>

#include "database/ClientShutdown.h"

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  ::testing::InitGoogleTest(&argc, argv);
  int result = 0;
  {
    QApplication application(argc, argv);
    result = RUN_ALL_TESTS();
  }
  brontelx::db::ShutdownClient();
  return result;
}
