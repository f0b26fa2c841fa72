#include "platform/win32/ThreadWindows.h"

#include <algorithm>
#include <memory>
#include <new>
#include <vector>

#include "base/ThreadKey.h"
#include "platform/WindowError.h"
#include "platform/win32/FormClass.h"
#include "platform/win32/WideText.h"
#include "platform/win32/Win32Window.h"

namespace brontelx::platform::win32 {
namespace {

constexpr wchar_t kDeliveryClassName[] = L"BrontelX.Releases";
constexpr UINT kDeliverMessage = WM_APP + 1;

struct ThreadState {
  std::vector<Win32Window*> windows;
  HWND delivery = nullptr;  // the message-only window that delivers releases
  bool busy = false;        // delivering or ending: the state stays until that is done
};

void EndThread(void* state) noexcept;

ThreadKey& Key() {
  static ThreadKey key(EndThread);
  return key;
}

ThreadState* State() noexcept { return static_cast<ThreadState*>(Key().Get()); }

bool Contains(const ThreadState& state, const Win32Window* window) {
  return std::find(state.windows.begin(), state.windows.end(), window) != state.windows.end();
}

// Each pending release in turn; a release destroys its window object, which leaves the list.
void DeliverReleases(ThreadState& state) {
  for (;;) {
    const auto pending = std::find_if(state.windows.begin(), state.windows.end(),
                                      [](const Win32Window* window) { return window->ReleasePending(); });
    if (pending == state.windows.end()) return;
    (*pending)->DeliverRelease();
  }
}

// Once the thread's last window has gone, the thread keeps nothing of the module.
void DeleteIfEmpty(ThreadState* state) noexcept {
  if (state->busy || !state->windows.empty()) return;
  Key().Set(nullptr);
  DestroyWindow(state->delivery);
  delete state;
}

LRESULT CALLBACK DeliveryProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != kDeliverMessage) return DefWindowProcW(window, message, wParam, lParam);
  ThreadState* state = State();
  if (!state || state->busy) return 0;
  state->busy = true;
  DeliverReleases(*state);
  state->busy = false;
  DeleteIfEmpty(state);
  return 0;
}

// The thread key's destructor: the thread is ending. The state is put back under the key for the
// windows' last messages, which post their releases; the releases are then delivered here.
void EndThread(void* value) noexcept {
  // winpthreads calls the destructor also for a key set back to null, as DeleteIfEmpty does once
  // a thread's last window has gone: then there is nothing to end.
  if (!value) return;
  auto* state = static_cast<ThreadState*>(value);
  Key().Set(state);
  state->busy = true;
  const std::vector<Win32Window*> open = state->windows;
  for (Win32Window* window : open) {
    if (Contains(*state, window)) window->DestroyNative();
  }
  DeliverReleases(*state);
  // Windows whose owners keep them (closed to hide) stay known to nothing.
  state->windows.clear();
  state->busy = false;
  DeleteIfEmpty(state);
}

ThreadState& CreateState() {
  const HINSTANCE module = RegisterWindowClass(kDeliveryClassName, DeliveryProcedure);
  auto state = std::make_unique<ThreadState>();
  state->delivery =
      CreateWindowExW(0, kDeliveryClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, module, nullptr);
  if (!state->delivery) throw WindowError("The release window cannot be created: " + SystemMessage(GetLastError()));
  if (!Key().Set(state.get())) {
    DestroyWindow(state->delivery);
    throw std::bad_alloc();
  }
  return *state.release();
}

}  // namespace

void AddThreadWindow(Win32Window& window) {
  ThreadState* state = State();
  ThreadState& current = state ? *state : CreateState();
  try {
    current.windows.push_back(&window);
  } catch (...) {
    DeleteIfEmpty(&current);
    throw;
  }
}

void RemoveThreadWindow(Win32Window& window) noexcept {
  ThreadState* state = State();
  if (!state) return;
  state->windows.erase(std::remove(state->windows.begin(), state->windows.end(), &window), state->windows.end());
  DeleteIfEmpty(state);
}

void PostReleases() noexcept {
  if (const ThreadState* state = State()) PostMessageW(state->delivery, kDeliverMessage, 0, 0);
}

}  // namespace brontelx::platform::win32
