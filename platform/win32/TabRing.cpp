#include "platform/win32/TabRing.h"

#include <algorithm>

namespace brontelx::platform::win32 {
namespace {

bool CanTakeFocus(HWND control) { return IsWindowVisible(control) && IsWindowEnabled(control); }

}  // namespace

bool TabRing::Contains(HWND control) const { return std::find(stops_.begin(), stops_.end(), control) != stops_.end(); }

HWND TabRing::First() const {
  const auto found = std::find_if(stops_.begin(), stops_.end(), CanTakeFocus);
  return found == stops_.end() ? nullptr : *found;
}

HWND TabRing::Next(HWND from, bool backwards) const {
  const std::size_t count = stops_.size();
  const auto position = std::find(stops_.begin(), stops_.end(), from);
  // From a control outside the ring the search starts at its beginning (or its end, backwards).
  std::size_t index = position == stops_.end() ? (backwards ? 0 : count - 1)
                                               : static_cast<std::size_t>(position - stops_.begin());
  for (std::size_t step = 0; step < count; ++step) {
    index = backwards ? (index + count - 1) % count : (index + 1) % count;
    if (CanTakeFocus(stops_[index])) return stops_[index];
  }
  return nullptr;
}

}  // namespace brontelx::platform::win32
