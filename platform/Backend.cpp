#include "platform/Backend.h"

#include <atomic>

namespace brontelx::platform {
namespace {

// Atomic: a Windows host may open windows on several threads.
std::atomic<Backend*> installed{nullptr};

}  // namespace

Backend& CurrentBackend() {
  Backend* backend = installed.load();
  if (!backend) {
    throw WindowError("No windowing backend is installed: the program must install one before it opens a window");
  }
  return *backend;
}

Backend* UseBackend(Backend* backend) noexcept { return installed.exchange(backend); }

}  // namespace brontelx::platform
