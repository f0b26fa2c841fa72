#pragma once

#include <memory>

namespace brontelx::bench {

// Keeps a fixture alive until ReleaseFixtures(). Also waits until what the fixture wrote has reached
// the disk, so that the write-back of a large set-up does not slow down the runs measured next.
void KeepUntilEnd(std::shared_ptr<void> fixture);

// Destroys the fixtures in reverse order of creation: connections close, databases and folders
// are removed. Called once, after the last benchmark.
void ReleaseFixtures();

// The process-wide fixture of type T, made on first use (outside any timed loop) so that a
// benchmark run with a filter builds only the databases it needs.
template <typename T>
T& Shared() {
  static T* instance = nullptr;
  if (!instance) {
    auto fixture = std::make_shared<T>();
    instance = fixture.get();
    KeepUntilEnd(std::move(fixture));
  }
  return *instance;
}

}  // namespace brontelx::bench
