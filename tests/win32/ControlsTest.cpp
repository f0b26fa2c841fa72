// The library's two windows built by the Win32 backend: real Win32 controls with the described
// names, classes, places, captions, fonts, colours, tab order and anchors.
#include <gtest/gtest.h>

#include "forms/descriptions/VelCollaudiPersonalizzazioni.Description.h"
#include "forms/descriptions/VelDatiValidazPers.Description.h"
#include "platform/win32/ControlName.h"
#include "tests/win32/Win32TestSupport.h"

namespace brontelx::testing {
namespace {

using platform::Rect;

struct ExpectedControl {
  const char* name;
  const wchar_t* className;
  const char* parent;  // "" for the window
  Rect rect;           // for labels, which size themselves to their text, only the position counts
  const wchar_t* caption;
};

void ExpectControls(const TestWindow& window, const std::vector<ExpectedControl>& table) {
  for (std::size_t index = 0; index < table.size(); ++index) {
    const ExpectedControl& expected = table[index];
    SCOPED_TRACE(expected.name);
    const HWND control = window.Control(expected.name);
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(platform::win32::ControlName(control), expected.name);
    EXPECT_EQ(GetDlgCtrlID(control), platform::win32::kFirstControlId + static_cast<int>(index));
    EXPECT_EQ(ClassOf(control), expected.className);
    const HWND parent = GetParent(control);
    EXPECT_EQ(parent == window.Handle() ? std::string() : platform::win32::ControlName(parent), expected.parent);
    EXPECT_EQ(TextOf(control), expected.caption);
    EXPECT_TRUE(GetWindowLongPtrW(control, GWL_STYLE) & WS_VISIBLE);
    EXPECT_TRUE(IsWindowEnabled(control));
    const Rect rect = RectInParent(control);
    if (ClassOf(control) == L"Static") {
      EXPECT_EQ(rect.left, expected.rect.left);
      EXPECT_EQ(rect.top, expected.rect.top);
      // Sized to its text in its own font: the whole text fits.
      const HDC dc = GetDC(control);
      const HGDIOBJ previous = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
      SIZE extent{};
      const std::wstring text = TextOf(control);
      GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
      SelectObject(dc, previous);
      ReleaseDC(control, dc);
      EXPECT_EQ(rect.width, extent.cx);
      EXPECT_GE(rect.height, extent.cy);
    } else {
      EXPECT_EQ(rect, expected.rect);
    }
  }
}

Rect ClientRect(HWND window) {
  RECT client{};
  GetClientRect(window, &client);
  return {0, 0, client.right, client.bottom};
}

// Resizes the window so that its client area becomes width x height.
void ResizeClient(HWND window, int width, int height) {
  RECT outer{0, 0, width, height};
  AdjustWindowRectEx(&outer, static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE)), FALSE,
                     static_cast<DWORD>(GetWindowLongPtrW(window, GWL_EXSTYLE)));
  SetWindowPos(window, nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

bool HasStyle(HWND control, LONG_PTR style) { return (GetWindowLongPtrW(control, GWL_STYLE) & style) == style; }

TEST(Win32ControlsTest, TheTestWindowIsBuiltAsDescribed) {
  using namespace velcollaudi;
  TestWindow test(VelCollaudiPersonalizzazioniDescription());
  EXPECT_EQ(ClassOf(test.Handle()), L"BrontelX.Form");
  EXPECT_EQ(TextOf(test.Handle()), L"VelCollaudiPersonalizzazioniForm");
  EXPECT_EQ(ClientRect(test.Handle()), (Rect{0, 0, 500, 310}));
  constexpr auto& kBox = kGroupBoxCollaudo;
  ExpectControls(test, {
                           {kBox, L"Button", "", {8, 8, 484, 294}, L"Test Validazioni Personalizzate"},
                           {kLabelFunzione, L"Static", kBox, {16, 30, 140, 16}, L"Funzione: VelZidBol"},
                           {kLabel1, L"Static", kBox, {16, 64, 112, 16}, L"USER_AUTENTICAZ"},
                           {kEditUserAutenticaz, L"Edit", kBox, {16, 82, 121, 24}, L""},
                           {kLabel2, L"Static", kBox, {16, 112, 81, 16}, L"Dato Acquisito"},
                           {kEditDatoAcquisito, L"Edit", kBox, {16, 130, 300, 24}, L""},
                           {kButtonTestVelZidBol, L"Button", kBox, {16, 168, 150, 30}, L"Esegui VelZidBol"},
                           {kLabel3, L"Static", kBox, {16, 208, 49, 16}, L"Risultato"},
                           {kEditRisultato, L"Edit", kBox, {16, 226, 450, 24}, L""},
                           {kButtonChiudi, L"Button", kBox, {401, 16, 75, 25}, L"Chiudi"},
                       });
  EXPECT_TRUE(HasStyle(test.Control(kBox), BS_GROUPBOX));
  EXPECT_TRUE(HasStyle(test.Control(kEditRisultato), ES_READONLY));
  EXPECT_FALSE(HasStyle(test.Control(kEditDatoAcquisito), ES_READONLY));
  for (const char* stop : {kEditUserAutenticaz, kEditDatoAcquisito, kButtonTestVelZidBol, kEditRisultato,
                           kButtonChiudi}) {
    EXPECT_TRUE(HasStyle(test.Control(stop), WS_TABSTOP)) << stop;
  }
  EXPECT_FALSE(HasStyle(test.Control(kLabel1), WS_TABSTOP));

  // Fonts by family and pixel height: a character height, so negative in the LOGFONT.
  const LOGFONTW function = FontOf(test.Control(kLabelFunzione));
  EXPECT_STREQ(function.lfFaceName, L"Tahoma");
  EXPECT_EQ(function.lfHeight, -13);
  EXPECT_EQ(function.lfWeight, FW_BOLD);
  const LOGFONTW label = FontOf(test.Control(kLabel1));
  EXPECT_STREQ(label.lfFaceName, L"Tahoma");
  EXPECT_EQ(label.lfHeight, -13);
  EXPECT_EQ(label.lfWeight, FW_NORMAL);
  EXPECT_EQ(DrawnFaceOf(test.Control(kLabel1)), L"Tahoma");

  // Colours: the blue bold label, the read-only result on the info background, the other edits on
  // the window colour, labels and the group box on the window's button face.
  const PaintColors functionColors = ColorsOf(test.Control(kLabelFunzione), WM_CTLCOLORSTATIC);
  EXPECT_EQ(functionColors.text, RGB(0, 0, 255));
  EXPECT_EQ(functionColors.brush, GetSysColor(COLOR_BTNFACE));
  const PaintColors result = ColorsOf(test.Control(kEditRisultato), WM_CTLCOLORSTATIC);
  EXPECT_EQ(result.background, GetSysColor(COLOR_INFOBK));
  EXPECT_EQ(result.brush, GetSysColor(COLOR_INFOBK));
  EXPECT_EQ(result.text, GetSysColor(COLOR_WINDOWTEXT));
  const PaintColors datum = ColorsOf(test.Control(kEditDatoAcquisito), WM_CTLCOLOREDIT);
  EXPECT_EQ(datum.brush, GetSysColor(COLOR_WINDOW));
  EXPECT_EQ(ColorsOf(test.Control(kLabel1), WM_CTLCOLORSTATIC).text, GetSysColor(COLOR_WINDOWTEXT));
  EXPECT_EQ(ColorsOf(test.Control(kBox), WM_CTLCOLORSTATIC).brush, GetSysColor(COLOR_BTNFACE));
}

TEST(Win32ControlsTest, TheTestWindowKeepsItsAnchorsWhenResized) {
  using namespace velcollaudi;
  TestWindow test(VelCollaudiPersonalizzazioniDescription());
  // The group box grows on every side; Chiudi keeps its distance to the box's right edge; the
  // rest stays where it is in the box.
  ResizeClient(test.Handle(), 700, 400);
  EXPECT_EQ(ClientRect(test.Handle()), (Rect{0, 0, 700, 400}));
  EXPECT_EQ(RectInParent(test.Control(kGroupBoxCollaudo)), (Rect{8, 8, 684, 384}));
  EXPECT_EQ(RectInParent(test.Control(kButtonChiudi)), (Rect{601, 16, 75, 25}));
  EXPECT_EQ(RectInParent(test.Control(kEditRisultato)), (Rect{16, 226, 450, 24}));
  EXPECT_EQ(RectInParent(test.Control(kButtonTestVelZidBol)), (Rect{16, 168, 150, 30}));
  ResizeClient(test.Handle(), 500, 310);
  EXPECT_EQ(RectInParent(test.Control(kGroupBoxCollaudo)), (Rect{8, 8, 484, 294}));
  EXPECT_EQ(RectInParent(test.Control(kButtonChiudi)), (Rect{401, 16, 75, 25}));
}

TEST(Win32ControlsTest, TheSettingsWindowIsBuiltAndAnchoredAsDescribed) {
  using namespace veldati;
  TestWindow settings(VelDatiValidazPersDescription());
  EXPECT_EQ(ClientRect(settings.Handle()), (Rect{0, 0, 624, 441}));
  ExpectControls(settings, {
                               {kButtonChiudi, L"Button", "", {541, 8, 75, 25}, L"Chiudi"},
                               {kGroupBox1, L"Button", "", {0, 8, 535, 169}, L"Dati per VelZidBol"},
                               {kButtonVelZidBolDBRux, L"Button", kGroupBox1, {8, 32, 105, 25}, L"Database dati rux"},
                               {kEditVelZidBolDBRux, L"Edit", kGroupBox1, {119, 32, 290, 24}, L""},
                           });
  // Chiudi keeps its distance to the window's right edge; the group box stretches to the right.
  ResizeClient(settings.Handle(), 824, 541);
  EXPECT_EQ(RectInParent(settings.Control(kButtonChiudi)), (Rect{741, 8, 75, 25}));
  EXPECT_EQ(RectInParent(settings.Control(kGroupBox1)), (Rect{0, 8, 735, 169}));
  EXPECT_EQ(RectInParent(settings.Control(kEditVelZidBolDBRux)), (Rect{119, 32, 290, 24}));
}

// The controls that hold the focus after each Tab key press, starting from `first`, delivered as
// a host's message loop delivers keys: translated and dispatched, through IsDialogMessage or not.
std::vector<std::string> TabWalk(const TestWindow& test, const char* first, int presses, bool dialogLoop) {
  SetFocus(test.Control(first));
  std::vector<std::string> visited;
  for (int press = 0; press < presses; ++press) {
    PostMessageW(GetFocus(), WM_KEYDOWN, VK_TAB, 0);
    PostMessageW(GetFocus(), WM_KEYUP, VK_TAB, 0);
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (dialogLoop && IsDialogMessageW(test.Handle(), &message)) continue;
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
    visited.push_back(platform::win32::ControlName(GetFocus()));
  }
  return visited;
}

void SetShift(bool down) {
  BYTE keys[256];
  GetKeyboardState(keys);
  keys[VK_SHIFT] = down ? 0x80 : 0;
  SetKeyboardState(keys);
}

TEST(Win32ControlsTest, TabFollowsTheTabOrderWithOrWithoutIsDialogMessage) {
  using namespace velcollaudi;
  TestWindow test(VelCollaudiPersonalizzazioniDescription());
  test.window->Show();
  PumpMessages();
  // Shown, the window gives the focus to its first tab stop.
  EXPECT_EQ(platform::win32::ControlName(GetFocus()), kEditUserAutenticaz);
  const std::vector<std::string> forward{kEditDatoAcquisito, kButtonTestVelZidBol, kEditRisultato, kButtonChiudi,
                                         kEditUserAutenticaz};
  EXPECT_EQ(TabWalk(test, kEditUserAutenticaz, 5, false), forward);
  EXPECT_EQ(TabWalk(test, kEditUserAutenticaz, 5, true), forward);
  SetShift(true);
  const std::vector<std::string> backward{kButtonChiudi, kEditRisultato, kButtonTestVelZidBol};
  EXPECT_EQ(TabWalk(test, kEditUserAutenticaz, 3, false), backward);
  SetShift(false);
  // The Tab key types no character into an edit.
  EXPECT_EQ(TextOf(test.Control(kEditDatoAcquisito)), L"");
}

}  // namespace
}  // namespace brontelx::testing
