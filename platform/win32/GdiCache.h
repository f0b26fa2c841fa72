#pragma once

#include <windows.h>

#include <map>
#include <string>
#include <tuple>

#include "platform/WindowDescription.h"

namespace brontelx::platform::win32 {

// The colour a description names, resolved now: a system colour from the running system's scheme.
COLORREF ToColorRef(const Color& color);

// The fonts and brushes of one window, created on first use and deleted with the cache, which
// must therefore outlive the window's controls.
class GdiCache {
 public:
  GdiCache() = default;
  ~GdiCache();
  GdiCache(const GdiCache&) = delete;
  GdiCache& operator=(const GdiCache&) = delete;

  // The font of `font`'s family at its pixel height (a character height, so negative in the
  // LOGFONT) and weight; a family the system lacks is mapped by the system to its substitute.
  // Throws WindowError when no font can be made.
  HFONT Font(const platform::Font& font);
  // A brush of `color`. System colours use the system's own brushes, which follow scheme changes.
  HBRUSH Brush(const Color& color);

 private:
  std::map<std::tuple<std::wstring, int, bool>, HFONT> fonts_;
  std::map<COLORREF, HBRUSH> brushes_;
};

}  // namespace brontelx::platform::win32
