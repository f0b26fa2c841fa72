#include "platform/win32/ControlName.h"

#include <mutex>
#include <set>

#include "platform/WindowError.h"
#include "platform/win32/WideText.h"

namespace brontelx::platform::win32 {
namespace {

// The references to global atoms that this module has added and not yet deleted, one entry per
// GlobalAddAtomW. Global atoms outlive the process; those of windows still open when the process
// exits (or the module is unloaded) would stay behind, so they are deleted then.
class AddedAtoms {
 public:
  AddedAtoms() = default;
  ~AddedAtoms() {
    for (const ATOM atom : atoms_) GlobalDeleteAtom(atom);
  }
  AddedAtoms(const AddedAtoms&) = delete;
  AddedAtoms& operator=(const AddedAtoms&) = delete;

  void Add(ATOM atom) {
    const std::lock_guard lock(mutex_);
    atoms_.insert(atom);
  }
  void Delete(ATOM atom) noexcept {
    GlobalDeleteAtom(atom);
    const std::lock_guard lock(mutex_);
    if (const auto entry = atoms_.find(atom); entry != atoms_.end()) atoms_.erase(entry);
  }

 private:
  std::mutex mutex_;
  std::multiset<ATOM> atoms_;
};

AddedAtoms& Atoms() {
  static AddedAtoms atoms;
  return atoms;
}

ATOM NameAtom(HWND control) { return static_cast<ATOM>(reinterpret_cast<UINT_PTR>(GetPropW(control, kControlNameProperty))); }

struct Search {
  std::string_view name;
  HWND found = nullptr;
};

BOOL CALLBACK MatchName(HWND control, LPARAM parameter) {
  auto& search = *reinterpret_cast<Search*>(parameter);
  if (ControlName(control) != search.name) return TRUE;
  search.found = control;
  return FALSE;
}

}  // namespace

void SetControlName(HWND control, std::string_view name) {
  const std::wstring atomName = kControlNamePrefix + ToWide(name);
  // An atom holds at most 255 characters.
  if (name.empty() || atomName.size() > 255) throw WindowError("\"" + std::string(name) + "\" cannot be a control's name");
  const ATOM atom = GlobalAddAtomW(atomName.c_str());
  if (atom == 0) throw WindowError("Control \"" + std::string(name) + "\": " + SystemMessage(GetLastError()));
  try {
    Atoms().Add(atom);
  } catch (...) {
    GlobalDeleteAtom(atom);
    throw;
  }
  if (!SetPropW(control, kControlNameProperty, reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(atom)))) {
    const DWORD error = GetLastError();
    Atoms().Delete(atom);
    throw WindowError("Control \"" + std::string(name) + "\": " + SystemMessage(error));
  }
}

void RemoveControlName(HWND control) {
  const ATOM atom = static_cast<ATOM>(reinterpret_cast<UINT_PTR>(RemovePropW(control, kControlNameProperty)));
  if (atom != 0) Atoms().Delete(atom);
}

std::string ControlName(HWND control) {
  const ATOM atom = NameAtom(control);
  if (atom == 0) return {};
  wchar_t name[256];
  const std::wstring_view atomName(name, GlobalGetAtomNameW(atom, name, 256));
  if (!atomName.starts_with(kControlNamePrefix)) return {};
  return ToUtf8(atomName.substr(std::wstring_view(kControlNamePrefix).size()));
}

HWND FindControl(HWND window, std::string_view name) {
  Search search{name};
  EnumChildWindows(window, MatchName, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

}  // namespace brontelx::platform::win32
