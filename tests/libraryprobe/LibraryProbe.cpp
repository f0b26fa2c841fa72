// Loads the library in a process without QApplication, as a careless host would, and reports
// whether loading and unloading opened files or started threads, and what a call returns.
//   brontelx_library_probe LIBRARY
#include <dlfcn.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <vector>

namespace {

std::size_t Entries(const char* folder) {
  std::size_t count = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder)) ++count;
  return count;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  const std::size_t files = Entries("/proc/self/fd");
  const std::size_t threads = Entries("/proc/self/task");
  void* library = dlopen(argv[1], RTLD_NOW | RTLD_LOCAL);
  if (!library) {
    std::printf("load: %s\n", dlerror());
    return 1;
  }
  dlclose(library);
  const bool same = Entries("/proc/self/fd") == files && Entries("/proc/self/task") == threads;
  std::printf("load: %s\n", same ? "nothing opened" : "files or threads left behind");

  library = dlopen(argv[1], RTLD_NOW | RTLD_LOCAL);
  auto show = reinterpret_cast<std::int32_t (*)(std::int32_t, std::int32_t)>(dlsym(library, "ShowVelCollaudiPersFormX"));
  auto lastError = reinterpret_cast<std::int32_t (*)(char*, std::int32_t)>(dlsym(library, "GetUltimoErroreX"));
  const std::int32_t result = show(1, 1);
  std::vector<char> message(static_cast<std::size_t>(lastError(nullptr, 0)) + 1);
  lastError(message.data(), static_cast<std::int32_t>(message.size()));
  std::printf("call: %d %s\n", result, message.data());
  return 0;
}
