// Clicks and closes of a Win32 window: handlers run guarded, errors reach the error box, a close
// hides or frees the window, and a freed window is released later, from the message loop.
#include <gtest/gtest.h>

#include <thread>

#include "forms/descriptions/VelCollaudiPersonalizzazioni.Description.h"
#include "forms/descriptions/VelDatiValidazPers.Description.h"
#include "tests/win32/Win32TestSupport.h"

namespace brontelx::testing {
namespace {

using platform::CloseAction;

void Click(HWND button) { SendMessageW(button, BM_CLICK, 0, 0); }

TEST(Win32EventsTest, ClicksReachTheNamedHandlerThroughGroupBoxes) {
  RecordingBackend box;
  TestWindow test(VelCollaudiPersonalizzazioniDescription(), box);
  test.window->Show();
  Click(test.Control(velcollaudi::kButtonTestVelZidBol));
  Click(test.Control(velcollaudi::kButtonChiudi));
  EXPECT_EQ(test.events.clicks,
            (std::vector<std::string>{velcollaudi::kButtonTestVelZidBolClick, velcollaudi::kButtonChiudiClick}));

  // A button without a click handler does nothing.
  TestWindow settings(VelDatiValidazPersDescription(), box);
  Click(settings.Control(veldati::kButtonVelZidBolDBRux));
  Click(settings.Control(veldati::kButtonChiudi));
  EXPECT_EQ(settings.events.clicks, (std::vector<std::string>{veldati::kButtonChiudiClick}));
  EXPECT_TRUE(box.messages.empty());
}

TEST(Win32EventsTest, AFailingHandlerShowsItsMessageAndTheWindowLivesOn) {
  using namespace velcollaudi;
  RecordingBackend box;
  TestWindow test(VelCollaudiPersonalizzazioniDescription(), box);
  test.window->Show();
  test.events.onClick = [](const std::string&) { throw std::runtime_error("Validazione fallita: città €"); };
  Click(test.Control(kButtonTestVelZidBol));
  EXPECT_EQ(box.messages, (std::vector<std::string>{"Validazione fallita: città €"}));
  EXPECT_TRUE(test.window->Visible());

  test.events.onClick = nullptr;
  Click(test.Control(kButtonTestVelZidBol));
  EXPECT_EQ(test.events.clicks.size(), 2u);
  EXPECT_EQ(box.messages.size(), 1u);
}

TEST(Win32EventsTest, CloseWithHideOnlyHides) {
  TestWindow test(VelDatiValidazPersDescription());
  test.window->Show();
  test.window->Close();
  EXPECT_FALSE(test.window->Visible());
  // The title bar's close button takes the same way.
  test.window->Show();
  SendMessageW(test.Handle(), WM_SYSCOMMAND, SC_CLOSE, 0);
  PumpMessages();
  EXPECT_EQ(test.events.closes, 2);
  EXPECT_EQ(test.events.releases, 0);
  EXPECT_TRUE(IsWindow(test.Handle()));
  test.window->Show();
  EXPECT_TRUE(test.window->Visible());
}

TEST(Win32EventsTest, CloseWithFreeReleasesTheWindowLaterFromTheLoop) {
  using namespace velcollaudi;
  TestWindow test(VelCollaudiPersonalizzazioniDescription());
  const HWND handle = test.Handle();
  test.events.closeAction = CloseAction::Free;
  // The owner destroys the window's object on release, as a form that frees itself does.
  test.events.onRelease = [&] { test.window.reset(); };
  // Chiudi closes the window from inside its own click handler.
  test.events.onClick = [&](const std::string&) { test.window->Close(); };
  test.window->Show();
  SendMessageW(test.Control(kButtonChiudi), BM_CLICK, 0, 0);
  EXPECT_EQ(test.events.releases, 0);
  EXPECT_FALSE(IsWindowVisible(handle));
  PumpMessages();
  EXPECT_EQ(test.events.releases, 1);
  EXPECT_EQ(test.window, nullptr);
  EXPECT_FALSE(IsWindow(handle));
}

// The thread's list of windows is gone with its last window; the thread's end must then find
// nothing to do (the threads library still calls the key's destructor for it).
TEST(Win32EventsTest, AThreadWhoseWindowsWereReleasedEndsCleanly) {
  int releases = -1;
  std::thread([&] {
    TestWindow test(VelCollaudiPersonalizzazioniDescription());
    test.events.closeAction = CloseAction::Free;
    test.events.onRelease = [&] { test.window.reset(); };
    test.window->Show();
    test.window->Close();
    PumpMessages();
    releases = test.events.releases;
  }).join();
  EXPECT_EQ(releases, 1);
}

TEST(Win32EventsTest, AReleaseWaitsUntilTheHandlerWithAMessageLoopHasReturned) {
  using namespace velcollaudi;
  RecordingBackend box;
  TestWindow test(VelCollaudiPersonalizzazioniDescription(), box);
  test.events.closeAction = CloseAction::Free;
  test.events.onRelease = [&] { test.window.reset(); };
  // The handler closes the window and then fails; the error box runs a message loop, as a modal
  // box does, while the handler is still on the stack.
  test.events.onClick = [&](const std::string&) {
    test.window->Close();
    throw std::runtime_error("Dopo la chiusura");
  };
  int releasesWhileShown = -1;
  box.whileShown = [&] {
    PumpMessages();
    releasesWhileShown = test.events.releases;
  };
  test.window->Show();
  SendMessageW(test.Control(kButtonChiudi), BM_CLICK, 0, 0);
  EXPECT_EQ(box.messages, (std::vector<std::string>{"Dopo la chiusura"}));
  EXPECT_EQ(releasesWhileShown, 0);
  PumpMessages();
  EXPECT_EQ(test.events.releases, 1);
  EXPECT_EQ(test.window, nullptr);
}

TEST(Win32EventsTest, AWindowDestroyedFromOutsideClosesAndReleasesItsOwnerOnce) {
  using namespace velcollaudi;
  // As the host destroys a window through its handle: the close handler decides, and a release
  // waits until a handler that was running (here inside its error box) has returned.
  const struct {
    CloseAction action;
    bool whileHandlerRuns;
  } cases[] = {{CloseAction::Free, false}, {CloseAction::Free, true}, {CloseAction::Hide, false}};
  for (const auto& destruction : cases) {
    SCOPED_TRACE(destruction.whileHandlerRuns ? "while a handler runs" : "from the host's loop");
    RecordingBackend box;
    TestWindow test(VelCollaudiPersonalizzazioniDescription(), box);
    const HWND handle = test.Handle();
    test.events.closeAction = destruction.action;
    test.events.onRelease = [&] { test.window.reset(); };
    test.events.onClick = [](const std::string&) { throw std::runtime_error("Errore"); };
    int releasesWhileShown = -1;
    box.whileShown = [&] {
      DestroyWindow(handle);
      releasesWhileShown = test.events.releases;
    };
    test.window->Show();
    if (destruction.whileHandlerRuns) {
      Click(test.Control(kButtonTestVelZidBol));
      EXPECT_EQ(releasesWhileShown, 0);
    } else {
      DestroyWindow(handle);
    }
    PumpMessages();
    EXPECT_FALSE(IsWindow(handle));
    EXPECT_EQ(test.events.closes, 1);
    EXPECT_EQ(test.events.releases, destruction.action == CloseAction::Free ? 1 : 0);
    EXPECT_EQ(test.window == nullptr, destruction.action == CloseAction::Free);
  }
}

TEST(Win32EventsTest, AFailingCloseHandlerKeepsTheWindowOpen) {
  RecordingBackend box;
  TestWindow test(VelDatiValidazPersDescription(), box);
  test.events.closeAction = CloseAction::Free;
  test.events.closeError = "Impossibile chiudere";
  test.window->Show();
  test.window->Close();
  PumpMessages();
  EXPECT_TRUE(test.window->Visible());
  EXPECT_EQ(test.events.releases, 0);
  EXPECT_EQ(box.messages, (std::vector<std::string>{"Impossibile chiudere"}));
}

}  // namespace
}  // namespace brontelx::testing
