#include "platform/win32/GdiCache.h"

#include "platform/WindowError.h"
#include "platform/win32/WideText.h"

namespace brontelx::platform::win32 {
namespace {

int SystemIndex(SystemColor color) {
  switch (color) {
    case SystemColor::ButtonFace:
      return COLOR_BTNFACE;
    case SystemColor::WindowText:
      return COLOR_WINDOWTEXT;
    case SystemColor::Window:
      return COLOR_WINDOW;
    case SystemColor::InfoBackground:
      return COLOR_INFOBK;
  }
  return COLOR_BTNFACE;
}

}  // namespace

COLORREF ToColorRef(const Color& color) {
  if (const auto* system = std::get_if<SystemColor>(&color)) return GetSysColor(SystemIndex(*system));
  const Rgb& rgb = std::get<Rgb>(color);
  return RGB(rgb.red, rgb.green, rgb.blue);
}

GdiCache::~GdiCache() {
  for (const auto& [key, font] : fonts_) DeleteObject(font);
  for (const auto& [key, brush] : brushes_) DeleteObject(brush);
}

HFONT GdiCache::Font(const platform::Font& font) {
  const std::wstring family = ToWide(font.family);
  const auto key = std::make_tuple(family, font.pixelHeight, font.bold);
  if (const auto found = fonts_.find(key); found != fonts_.end()) return found->second;
  const HFONT handle = CreateFontW(-font.pixelHeight, 0, 0, 0, font.bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE,
                                   DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                   DEFAULT_PITCH | FF_DONTCARE, family.c_str());
  if (!handle) throw WindowError("The font \"" + font.family + "\" cannot be created");
  fonts_.emplace(key, handle);
  return handle;
}

HBRUSH GdiCache::Brush(const Color& color) {
  if (const auto* system = std::get_if<SystemColor>(&color)) return GetSysColorBrush(SystemIndex(*system));
  const COLORREF rgb = ToColorRef(color);
  if (const auto found = brushes_.find(rgb); found != brushes_.end()) return found->second;
  const HBRUSH brush = CreateSolidBrush(rgb);
  if (!brush) throw WindowError("A brush cannot be created");
  brushes_.emplace(rgb, brush);
  return brush;
}

}  // namespace brontelx::platform::win32
