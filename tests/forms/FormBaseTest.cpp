#include <gtest/gtest.h>

#include <QApplication>
#include <QEventLoop>
#include <QPushButton>
#include <QTimer>
#include <QWidget>

#include <memory>

#include "library/HostWindows.h"
#include "session/BrontelX.Classes.h"
#include "tests/forms/TestForm.h"
#include "tests/support/FormsFixture.h"
#include "tests/support/LoopbackServer.h"
#include "tests/support/Sql.h"

namespace brontelx {
namespace {

using testing::TestForm;

class FormBaseTest : public testing::FormsFixture {
 protected:
  static QWidget* WidgetOf(const TFormBase& form) {
    return QWidget::find(static_cast<WId>(form.Window().NativeHandle()));
  }

  static void Click(const TFormBase& form, const char* button) {
    WidgetOf(form)->findChild<QPushButton*>(button)->click();
  }

  std::string HostWindowFailure(std::int32_t user) {
    try {
      ShowHostWindow<TestForm>(user, kWindowLogId);
    } catch (const std::exception& e) {
      return e.what();
    }
    return "opened";
  }
};

TEST_F(FormBaseTest, StartsFromTheBaseLookAndCaptionsWithUserAndCompany) {
  TSessione session;
  session.Avvia(kUser);
  TestForm form(&session);
  QWidget* widget = WidgetOf(form);
  EXPECT_EQ(form.Window().Caption(), "FormBase");
  EXPECT_EQ(widget->size(), QSize(624, 441));
  EXPECT_EQ(widget->font().family(), "Segoe UI");
  EXPECT_EQ(widget->font().pixelSize(), 12);
  EXPECT_EQ(widget->palette().color(QPalette::Window), QApplication::palette().color(QPalette::Button));
  EXPECT_EQ(widget->palette().color(QPalette::WindowText), QApplication::palette().color(QPalette::WindowText));

  form.SetTitolo("");
  EXPECT_EQ(form.Window().Caption(), "FormBase");
  form.SetTitolo("Prova");
  EXPECT_EQ(form.Window().Caption(), "Prova - Utente: ROSSI MARIO - Ditta: ALFA SRL");
  // Texts in the user's name are not formats.
  testing::ExecSql(users, "UPDATE UTENTI SET NOMEUTENTE = '%s 100%' WHERE CODICE = 15");
  session.DRKUser().SetCodiceUtente(kUser);
  form.SetTitolo("Prova");
  EXPECT_EQ(form.Window().Caption(), "Prova - Utente: %s 100% - Ditta: ALFA SRL");

  // A window without a session cannot put a user into its caption, and says so.
  TestForm alone;
  EXPECT_THROW(alone.SetTitolo("Prova"), Error);
  alone.Show();
  EXPECT_TRUE(alone.Window().Visible());
}

TEST_F(FormBaseTest, InitializesOnceBeforeTheFirstShowingAndAgainAfterAFailure) {
  TSessione session;
  session.Avvia(kUser);
  TestForm form(&session);
  form.titolo = "Prova";
  form.failInitialize = true;
  EXPECT_THROW(form.Show(), Error);
  EXPECT_FALSE(form.Window().Visible());
  EXPECT_EQ(form.initializeRuns, 1);

  form.failInitialize = false;
  form.Show();
  EXPECT_TRUE(form.Window().Visible());
  EXPECT_EQ(form.Window().Caption(), "Prova - Utente: ROSSI MARIO - Ditta: ALFA SRL");
  form.Window().Close();
  form.Show();
  EXPECT_EQ(form.initializeRuns, 2);
}

TEST_F(FormBaseTest, HostWindowForAnUnknownUserLeavesNothingBehind) {
  const int windowsBefore = TopLevelWindows();
  EXPECT_EQ(HostWindowFailure(42), "Utente 42 non trovato");
  ProcessEvents();
  EXPECT_EQ(TopLevelWindows(), windowsBefore);
  EXPECT_EQ(TestForm::live, 0);
  EXPECT_EQ(LoggedHandle(), "");
}

TEST_F(FormBaseTest, HostWindowLogsItsHandleAndDestroysItselfWhenClosed) {
  const int windowsBefore = TopLevelWindows();
  TestForm& form = ShowHostWindow<TestForm>(kUser, kWindowLogId);
  EXPECT_TRUE(form.Window().Visible());
  EXPECT_EQ(LoggedHandle(), std::to_string(form.Window().NativeHandle()));
  EXPECT_EQ(LoggedHandle(99), "");

  // An unknown window-log row still opens the window.
  TestForm& second = ShowHostWindow<TestForm>(kUser, 99);
  EXPECT_EQ(TestForm::live, 2);
  second.Window().Close();

  form.Window().Close();
  ProcessEvents();
  EXPECT_EQ(TestForm::live, 0);
  EXPECT_EQ(TopLevelWindows(), windowsBefore);
}

TEST_F(FormBaseTest, AHostWindowEndsWithItsSessionHoweverItGoes) {
  const int windowsBefore = TopLevelWindows();
  const struct {
    const char* way;
    void (*end)(TestForm& form);
  } ways[] = {
      {"closed", [](TestForm& form) { form.Window().Close(); }},
      {"deleted by the host", [](TestForm& form) { delete WidgetOf(form); }},
      {"deleted before the release of its close arrives",
       [](TestForm& form) {
         QWidget* widget = WidgetOf(form);
         form.Window().Close();
         delete widget;
       }},
  };
  for (const auto& way : ways) {
    SCOPED_TRACE(way.way);
    way.end(ShowHostWindow<TestForm>(kUser, kWindowLogId));
    ProcessEvents();
    EXPECT_EQ(TestForm::live, 0);
    EXPECT_EQ(TopLevelWindows(), windowsBefore);
  }
}

TEST_F(FormBaseTest, WindowWithALentSessionOnlyHidesWhenClosed) {
  TSessione session;
  session.Avvia(kUser);
  {
    TestForm form(&session);
    form.Show();
    form.Window().Close();
    ProcessEvents();
    EXPECT_EQ(TestForm::live, 1);
    EXPECT_FALSE(form.Window().Visible());
    form.Show();
    EXPECT_TRUE(form.Window().Visible());
  }
  EXPECT_TRUE(session.IBDatabase().Connected());
  EXPECT_TRUE(session.DRKUser().DBUser().Connected());
}

TEST_F(FormBaseTest, AnErrorInAClickHandlerGoesToTheErrorBox) {
  TestForm form;
  form.Show();
  form.failClick = true;
  Click(form, TestForm::kButtonProva);
  EXPECT_EQ(errors, (std::vector<std::string>{"Clic fallito: 100% \"%s\""}));
  EXPECT_TRUE(form.Window().Visible());
  form.failClick = false;
  Click(form, TestForm::kButtonProva);
  EXPECT_EQ(form.clicks, 2);
  EXPECT_EQ(errors.size(), 1u);
}

TEST_F(FormBaseTest, AWindowBindsExactlyTheClickHandlersItsControlsName) {
  const int windowsBefore = TopLevelWindows();
  const struct {
    const char* named;  // by the button's description
    const char* bound;
    const char* error;  // none: the window opens
  } cases[] = {
      {"ButtonProvaClic", TestForm::kButtonProvaClick,
       "Il controllo \"ButtonProva\" chiede il gestore \"ButtonProvaClic\", che la finestra non ha"},
      {"", TestForm::kButtonProvaClick, "Nessun controllo chiede il gestore \"ButtonProvaClick\""},
      {TestForm::kButtonProvaClick, TestForm::kButtonProvaClick, nullptr},
  };
  for (const auto& binding : cases) {
    SCOPED_TRACE(binding.named);
    platform::WindowDescription description = TestForm::Description();
    description.Control(TestForm::kButtonProva).onClick = binding.named;
    const TFormBase::ClickHandlers handlers{{binding.bound, [] {}}};
    try {
      // A host window fails before it starts a session or logs its handle.
      TFormBase window(description, handlers, kUser, kWindowLogId);
      EXPECT_EQ(binding.error, nullptr);
    } catch (const Error& e) {
      EXPECT_STREQ(e.what(), binding.error);
      EXPECT_EQ(LoggedHandle(), "");
    }
    ProcessEvents();
    EXPECT_EQ(TopLevelWindows(), windowsBefore);
  }
}

TEST_F(FormBaseTest, AReleaseWaitsUntilTheHandlerWithAnEventLoopHasReturned) {
  // The handler closes its host window and then fails; the error box runs an event loop, as a
  // modal box does, while the handler is still on the stack.
  TestForm& form = ShowHostWindow<TestForm>(kUser, kWindowLogId);
  form.closeOnClick = true;
  form.failClick = true;
  int liveWhileShown = -1;
  toolkit.whileShown = [&] {
    QEventLoop loop;
    QTimer::singleShot(0, &loop, &QEventLoop::quit);
    loop.exec();
    liveWhileShown = TestForm::live;
  };
  Click(form, TestForm::kButtonProva);
  EXPECT_EQ(errors, (std::vector<std::string>{"Clic fallito: 100% \"%s\""}));
  EXPECT_EQ(liveWhileShown, 1);
  EXPECT_EQ(TestForm::live, 1);
  ProcessEvents();
  EXPECT_EQ(TestForm::live, 0);
}

TEST_F(FormBaseTest, ShowModalRunsUntilTheWindowClosesAndAReleaseWaitsForItsLoop) {
  TestForm other;
  other.Show();
  TestForm modal;
  modal.closeOnClick = true;
  bool modalWhileShown = false;
  // Clicked from inside the modal loop.
  QTimer::singleShot(0, [&] {
    modalWhileShown = QApplication::activeModalWidget() == WidgetOf(modal);
    Click(modal, TestForm::kButtonProva);
  });
  EXPECT_EQ(modal.ShowModal(), platform::kModalCancel);
  EXPECT_TRUE(modalWhileShown);
  EXPECT_EQ(modal.clicks, 1);
  EXPECT_FALSE(modal.Window().Visible());
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
  EXPECT_TRUE(other.Window().Visible());

  // A release that arrives while the window's modal loop runs waits until the loop has ended: a
  // host window closed, and shown modal before its release has arrived.
  TestForm& host = ShowHostWindow<TestForm>(kUser, kWindowLogId);
  host.Window().Close();
  host.closeOnClick = true;
  int liveInLoop = -1;
  QTimer::singleShot(0, [&] {
    liveInLoop = TestForm::live;
    Click(host, TestForm::kButtonProva);
  });
  EXPECT_EQ(host.ShowModal(), platform::kModalCancel);
  EXPECT_EQ(liveInLoop, 3);
  EXPECT_EQ(TestForm::live, 3);
  ProcessEvents();
  EXPECT_EQ(TestForm::live, 2);
}

class FormBaseServerTest : public FormBaseTest {};

TEST_F(FormBaseServerTest, ClosingAHostWindowClosesItsSessionsConnections) {
  BRONTELX_REQUIRE_LOOPBACK_SERVER();
  UseArchiveAt(testing::RemoteName(archiveFile.Path()));
  const std::int64_t before = ArchiveAttachments();
  TestForm& form = ShowHostWindow<TestForm>(kUser, kWindowLogId);
  EXPECT_EQ(ArchiveAttachments(), before + 1);
  form.Window().Close();
  ProcessEvents();
  EXPECT_EQ(TestForm::live, 0);
  EXPECT_EQ(ArchiveAttachments(), before);
}

}  // namespace
}  // namespace brontelx
