#pragma once

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace brontelx::testing {

// The port of the private Firebird server on 127.0.0.1 that scripts/test.sh starts, from the
// environment variable BRONTELX_FB_PORT; empty when it is unset or not a port number.
std::optional<int> LoopbackPort();

// The connection string of a database file on that server: "127.0.0.1/PORT:path". Throws
// std::runtime_error when no port is set.
std::string RemoteName(const std::string& path);

// Why the loopback server cannot be used (no port set, or nothing accepts connections on it), or
// empty text when it can.
std::string LoopbackServerUnavailable();

}  // namespace brontelx::testing

// Skips the current test (or fixture) with the reason when the loopback server cannot be used.
#define BRONTELX_REQUIRE_LOOPBACK_SERVER()                                                \
  do {                                                                                    \
    const std::string brontelx_reason = ::brontelx::testing::LoopbackServerUnavailable(); \
    if (!brontelx_reason.empty()) GTEST_SKIP() << brontelx_reason;                        \
  } while (false)
