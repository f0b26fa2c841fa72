// The main of every test program: GoogleTest's, plus a clean stop of the Firebird client at the
// end, so that the engine's threads are gone before the leak checker inspects the process.
#include <gtest/gtest.h>

#include "database/ClientShutdown.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  const int result = RUN_ALL_TESTS();
  brontelx::db::ShutdownClient();
  return result;
}
