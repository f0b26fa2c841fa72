// Loads the library in a process without QApplication, as a careless host would, and reports
// whether loading and unloading opened files or started threads, what a call returns, and whether
// every call still returns -1 with a message when each of its allocations fails in turn.
//   brontelx_library_probe LIBRARY
#include <dlfcn.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <new>
#include <string>

namespace {

// While not negative, the number of allocations through operator new that still succeed; the
// program's replacement of operator new serves the library too.
long allocationsLeft = -1;

std::size_t Entries(const char* folder) {
  std::size_t count = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder)) ++count;
  return count;
}

}  // namespace

void* operator new(std::size_t size) {
  if (allocationsLeft == 0) throw std::bad_alloc();
  if (allocationsLeft > 0) --allocationsLeft;
  if (void* block = std::malloc(size ? size : 1)) return block;
  throw std::bad_alloc();
}

void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  try {
    return operator new(size);
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}

void operator delete(void* block) noexcept { std::free(block); }
void operator delete(void* block, std::size_t) noexcept { std::free(block); }

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
  // The string's own terminator takes the copy's.
  std::string message(static_cast<std::size_t>(lastError(nullptr, 0)), '\0');
  lastError(message.data(), static_cast<std::int32_t>(message.size()) + 1);
  std::printf("call: %d %s\n", result, message.c_str());

  // The same call with its first allocation failing, then its second, and so on, until it needs
  // fewer than are allowed.
  bool clean = true;
  for (long allowed = 0;; ++allowed) {
    allocationsLeft = allowed;
    const std::int32_t failed = show(1, 1);
    const long unused = allocationsLeft;
    allocationsLeft = -1;
    clean = clean && failed == -1 && lastError(nullptr, 0) > 0;
    if (unused > 0) break;
  }
  std::printf("allocation failures: %s\n", clean ? "-1 and a message each time" : "a call went wrong");
  return 0;
}
