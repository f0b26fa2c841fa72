#include <gtest/gtest.h>
#include <signal.h>

#include "tests/host/ToolFixture.h"
#include "tests/support/SilentServer.h"

namespace brontelx::testing {
namespace {

using namespace std::chrono_literals;

using InterruptTest = ToolFixture;

TEST_F(InterruptTest, SignalEndsTheToolWhileADatabaseCallHangs) {
  SilentServer server;
  Exec(Archive(), "UPDATE TABX SET TESTO = '127.0.0.1/" + std::to_string(server.Port()) +
                      ":/dati/rux.fdb' WHERE NOME = 'VelZidBolDBRux'");
  struct Case {
    std::vector<std::string> arguments;
    int signal;
  };
  for (const Case& c : {Case{{"validate", "1", "BOL-1001"}, SIGTERM}, Case{{"info", "1"}, SIGINT}}) {
    ChildProcess tool(Tool().string(), c.arguments);
    ASSERT_TRUE(server.AcceptOne(60s)) << "the tool never reached the server";
    tool.Signal(c.signal);
    // Far less than the client's own connect timeout, and far more than the tool needs.
    const std::optional<ChildStatus> status = tool.Wait(10s);
    ASSERT_TRUE(status.has_value()) << "still running after the signal";
    EXPECT_FALSE(status->exited);
    EXPECT_EQ(status->code, c.signal);
    EXPECT_EQ(tool.Errors(), "brontelx: interrupted\n");
    if (c.arguments.front() == "info") {
      // What was known before the hang was printed.
      EXPECT_NE(tool.Output().find("User 1: Mario Rossi, company DEMO SRL\n"), std::string::npos) << tool.Output();
    }
  }
}

}  // namespace
}  // namespace brontelx::testing
