// The window as the forms use it: caption, frame, texts by control name in UTF-8, modal showing,
// the wait cursor, the standard error box, and failures to build.
#include <gtest/gtest.h>

#include "forms/descriptions/VelCollaudiPersonalizzazioni.Description.h"
#include "platform/WaitCursor.h"
#include "platform/win32/ControlName.h"
#include "platform/win32/WideText.h"
#include "tests/win32/Win32TestSupport.h"

namespace brontelx::testing {
namespace {

using platform::Rect;
using platform::WindowError;

TEST(Win32WindowTest, CaptionFrameAndTextsCrossInUtf8) {
  using namespace velcollaudi;
  TestWindow test(VelCollaudiPersonalizzazioniDescription());
  platform::Window& window = *test.window;
  EXPECT_TRUE(IsWindow(test.Handle()));

  window.SetCaption("Collaudo – città €");
  EXPECT_EQ(TextOf(test.Handle()), L"Collaudo \u2013 citt\u00e0 \u20ac");
  EXPECT_EQ(window.Caption(), "Collaudo – città €");

  // The frame is the outer rectangle on the screen, decorations included.
  window.SetFrame({40, 50, 640, 480});
  RECT outer{};
  GetWindowRect(test.Handle(), &outer);
  EXPECT_EQ((Rect{outer.left, outer.top, outer.right - outer.left, outer.bottom - outer.top}), (Rect{40, 50, 640, 480}));
  EXPECT_EQ(window.Frame(), (Rect{40, 50, 640, 480}));

  window.SetText(kEditDatoAcquisito, "Città € 'B1'");
  EXPECT_EQ(TextOf(test.Control(kEditDatoAcquisito)), L"Citt\u00e0 \u20ac 'B1'");
  EXPECT_EQ(window.Text(kEditDatoAcquisito), "Città € 'B1'");
  SetWindowTextW(test.Control(kEditRisultato), L"ERR - Bolletta n\u00b0 7");
  EXPECT_EQ(window.Text(kEditRisultato), "ERR - Bolletta n° 7");
  EXPECT_EQ(window.Text(kButtonTestVelZidBol), "Esegui VelZidBol");
  EXPECT_EQ(window.Text(kLabel3), "Risultato");
  EXPECT_THROW(window.Text("EditAssente"), WindowError);
  EXPECT_THROW(window.SetText("EditAssente", "x"), WindowError);
}

TEST(Win32WindowTest, AFailedBuildLeavesNothingBehind) {
  using namespace velcollaudi;
  platform::WindowDescription notABox = VelCollaudiPersonalizzazioniDescription();
  notABox.caption = "Finestra senza gruppo";
  notABox.Control(kEditRisultato).parent = kButtonChiudi;
  RecordingEvents events;
  EXPECT_THROW(Toolkit().BuildWindow(notABox, events), WindowError);
  EXPECT_EQ(FindWindowW(L"BrontelX.Form", L"Finestra senza gruppo"), nullptr);

  platform::WindowDescription twice = VelCollaudiPersonalizzazioniDescription();
  twice.controls.push_back(twice.Control(kLabel1));
  EXPECT_THROW(Toolkit().BuildWindow(twice, events), WindowError);

  // The names of controls of destroyed windows are gone from the system's atom table, which every
  // program shares and which is small.
  const auto nameAtom = [](const char* name) {
    return GlobalFindAtomW((platform::win32::kControlNamePrefix + platform::win32::ToWide(name)).c_str());
  };
  EXPECT_EQ(nameAtom(kEditRisultato), 0);
  {
    TestWindow test(VelCollaudiPersonalizzazioniDescription());
    EXPECT_NE(nameAtom(kEditRisultato), 0);
  }
  EXPECT_EQ(nameAtom(kEditRisultato), 0);
  EXPECT_EQ(nameAtom(kLabel1), 0);
}

TEST(Win32WindowTest, AFamilyTheSystemLacksIsDrawnWithItsSubstitute) {
  using namespace velcollaudi;
  platform::WindowDescription description = VelCollaudiPersonalizzazioniDescription();
  description.Control(kLabel1).font = platform::Font{"Famiglia Inesistente", 15, platform::Rgb{128, 0, 0}, false};
  TestWindow test(description);
  EXPECT_STREQ(FontOf(test.Control(kLabel1)).lfFaceName, L"Famiglia Inesistente");
  EXPECT_EQ(FontOf(test.Control(kLabel1)).lfHeight, -15);
  EXPECT_FALSE(DrawnFaceOf(test.Control(kLabel1)).empty());
  EXPECT_EQ(ColorsOf(test.Control(kLabel1), WM_CTLCOLORSTATIC).text, RGB(128, 0, 0));
}

TEST(Win32WindowTest, ShowModalDisablesTheOtherWindowsUntilItCloses) {
  using namespace velcollaudi;
  TestWindow other(VelCollaudiPersonalizzazioniDescription());
  other.window->Show();
  TestWindow modal(VelCollaudiPersonalizzazioniDescription());
  bool otherEnabledWhileModal = true;
  modal.events.onClick = [&](const std::string&) {
    otherEnabledWhileModal = IsWindowEnabled(other.Handle());
    modal.window->Close();
  };
  // Clicked from inside the modal loop.
  PostMessageW(modal.Control(kButtonChiudi), BM_CLICK, 0, 0);
  EXPECT_EQ(modal.window->ShowModal(), platform::kModalCancel);
  EXPECT_FALSE(otherEnabledWhileModal);
  EXPECT_TRUE(IsWindowEnabled(other.Handle()));
  EXPECT_FALSE(modal.window->Visible());

  // Freed while modal, the window is released once the modal loop has ended.
  modal.events.closeAction = platform::CloseAction::Free;
  int releasesInLoop = -1;
  modal.events.onRelease = [&] { releasesInLoop = modal.window ? 1 : 0; };
  PostMessageW(modal.Control(kButtonChiudi), BM_CLICK, 0, 0);
  modal.window->ShowModal();
  EXPECT_EQ(modal.events.releases, 0);
  PumpMessages();
  EXPECT_EQ(modal.events.releases, 1);
  EXPECT_EQ(releasesInLoop, 1);
}

TEST(Win32WindowTest, TheWaitCursorShowsWhileItLives) {
  const HCURSOR arrow = LoadCursorW(nullptr, IDC_ARROW);
  SetCursor(arrow);
  {
    platform::WaitCursor wait(Toolkit());
    EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_WAIT));
    {
      platform::WaitCursor nested(Toolkit());
      EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_WAIT));
    }
    EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_WAIT));
  }
  EXPECT_EQ(GetCursor(), arrow);
}

// What the standard error box showed; the box is closed as soon as it appears.
struct ShownBox {
  std::wstring text;
  std::wstring caption;
  HICON icon = nullptr;
};
ShownBox shownBox;

BOOL CALLBACK FindIcon(HWND control, LPARAM icon) {
  if (ClassOf(control) == L"Static" && (GetWindowLongPtrW(control, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
    *reinterpret_cast<HICON*>(icon) = reinterpret_cast<HICON>(SendMessageW(control, STM_GETICON, 0, 0));
  }
  return TRUE;
}

LRESULT CALLBACK CloseBoxOnActivation(int code, WPARAM wParam, LPARAM lParam) {
  const auto window = reinterpret_cast<HWND>(wParam);
  if (code == HCBT_ACTIVATE && ClassOf(window) == L"#32770") {
    shownBox.caption = TextOf(window);
    shownBox.text = TextOf(GetDlgItem(window, 0xFFFF));  // the message's static control
    EnumChildWindows(window, FindIcon, reinterpret_cast<LPARAM>(&shownBox.icon));
    PostMessageW(window, WM_COMMAND, IDOK, 0);
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

TEST(Win32WindowTest, TheStandardErrorBoxIsAnErrorMessageBox) {
  const HHOOK hook = SetWindowsHookExW(WH_CBT, CloseBoxOnActivation, nullptr, GetCurrentThreadId());
  ASSERT_NE(hook, nullptr);
  Toolkit().ShowError("Impossibile connettersi: città €");
  UnhookWindowsHookEx(hook);
  EXPECT_EQ(shownBox.text, L"Impossibile connettersi: citt\u00e0 \u20ac");
  EXPECT_EQ(shownBox.caption, L"brontelx_win32_tests");
  EXPECT_EQ(shownBox.icon, LoadIconW(nullptr, IDI_ERROR));
}

}  // namespace
}  // namespace brontelx::testing
