#include "host/win32/ControlList.h"

#include <vector>

#include "platform/win32/ControlName.h"
#include "platform/win32/WideText.h"
#include "platform/win32/Win32Controls.h"

namespace brontelx::winhost {
namespace {

using platform::win32::ControlName;
using platform::win32::ToUtf8;

std::string ClassOf(HWND control) {
  wchar_t name[256];
  const int length = GetClassNameW(control, name, 256);
  return ToUtf8(std::wstring_view(name, length > 0 ? static_cast<std::size_t>(length) : 0));
}


std::string FlagsOf(HWND control, const std::string& className) {
  const LONG_PTR style = GetWindowLongPtrW(control, GWL_STYLE);
  std::vector<std::string> flags;
  if (className == "Button" && (style & BS_TYPEMASK) == BS_GROUPBOX) flags.push_back("groupbox");
  if (className == "Edit" && (style & ES_READONLY)) flags.push_back("readonly");
  if (style & WS_TABSTOP) flags.push_back("tabstop");
  std::string joined;
  for (const std::string& flag : flags) joined += (joined.empty() ? "" : ",") + flag;
  return joined;
}

struct Listing {
  HWND window;
  std::string lines;
};

BOOL CALLBACK ListOne(HWND control, LPARAM parameter) {
  auto& listing = *reinterpret_cast<Listing*>(parameter);
  const HWND parent = GetParent(control);
  RECT rect{};
  GetWindowRect(control, &rect);
  MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&rect), 2);
  const std::string className = ClassOf(control);
  listing.lines += className + "\t" + ControlName(control) + "\t" + std::to_string(rect.left) + "," +
                   std::to_string(rect.top) + "," + std::to_string(rect.right - rect.left) + "," +
                   std::to_string(rect.bottom - rect.top) + "\t" +
                   (parent == listing.window ? std::string() : ControlName(parent)) + "\t" +
                   FlagsOf(control, className) + "\t" + platform::win32::ControlText(control) + "\n";
  return TRUE;
}

}  // namespace

std::string ListControls(HWND window) {
  Listing listing{window, {}};
  EnumChildWindows(window, ListOne, reinterpret_cast<LPARAM>(&listing));
  return listing.lines;
}

}  // namespace brontelx::winhost
