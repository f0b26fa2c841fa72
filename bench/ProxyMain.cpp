// brontelx_latency_proxy: the latency proxy of the benchmarks as a program of its own, so that any
// client (the brontelx tool with --jobs, a host) can be measured over a slow link by hand:
//
//   brontelx_latency_proxy TARGET_PORT ONE_WAY_MS
//
// prints the port it listens on (127.0.0.1), relays to 127.0.0.1:TARGET_PORT with that one-way
// delay, and runs until standard input ends.
#include <chrono>
#include <cstdio>
#include <iostream>
#include <string>

#include "bench/LatencyProxy.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fputs("usage: brontelx_latency_proxy TARGET_PORT ONE_WAY_MS\n", stderr);
    return 2;
  }
  brontelx::bench::LatencyProxy proxy(std::stoi(argv[1]));
  proxy.SetDelay(std::chrono::milliseconds(std::stoi(argv[2])));
  std::printf("%d\n", proxy.Port());
  std::fflush(stdout);
  for (std::string line; std::getline(std::cin, line);) {
  }
  std::printf("round trips: %llu, connections: %llu\n", static_cast<unsigned long long>(proxy.RoundTrips()),
              static_cast<unsigned long long>(proxy.Connections()));
  return 0;
}
