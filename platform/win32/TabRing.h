#pragma once

#include <windows.h>

#include <vector>

namespace brontelx::platform::win32 {

// The controls the Tab key visits in a window, in order; Shift+Tab goes backwards, and both wrap
// around. Controls that are hidden or disabled are passed over.
class TabRing {
 public:
  void Add(HWND control) { stops_.push_back(control); }
  bool Contains(HWND control) const;
  // The first stop that can take the focus, or null.
  HWND First() const;
  // The stop after (or before) `from` that can take the focus, or null when none can.
  HWND Next(HWND from, bool backwards) const;

 private:
  std::vector<HWND> stops_;
};

}  // namespace brontelx::platform::win32
