#include "bench/Fixtures.h"

#include <unistd.h>

#include <vector>

namespace brontelx::bench {
namespace {

std::vector<std::shared_ptr<void>>& Kept() {
  static std::vector<std::shared_ptr<void>> fixtures;
  return fixtures;
}

}  // namespace

void KeepUntilEnd(std::shared_ptr<void> fixture) {
  Kept().push_back(std::move(fixture));
  sync();
}

void ReleaseFixtures() {
  auto& fixtures = Kept();
  while (!fixtures.empty()) fixtures.pop_back();
}

}  // namespace brontelx::bench
