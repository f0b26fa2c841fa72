#include "ErrorBox.h"

#include <exception>

namespace brontelx::platform {
namespace {

ErrorBox& InstalledBox() {
  static ErrorBox box;
  return box;
}

void Show(const std::string& message, void (*standardBox)(const std::string&)) noexcept {
  try {
    if (InstalledBox()) {
      InstalledBox()(message);
    } else {
      standardBox(message);
    }
  } catch (...) {
    // A box that fails to show has nowhere left to report to; the window goes on.
  }
}

}  // namespace

ErrorBox SetErrorBox(ErrorBox box) {
  ErrorBox previous = std::move(InstalledBox());
  InstalledBox() = std::move(box);
  return previous;
}

bool RunGuarded(const std::function<void()>& handler, void (*standardBox)(const std::string&)) noexcept {
  try {
    handler();
    return true;
  } catch (const std::exception& e) {
    Show(e.what(), standardBox);
  } catch (...) {
    Show("Unknown error", standardBox);
  }
  return false;
}

}  // namespace brontelx::platform
