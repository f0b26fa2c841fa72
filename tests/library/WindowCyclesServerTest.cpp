#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QWidget>

#include "tests/support/LoadedLibrary.h"
#include "tests/support/LoopbackServer.h"
#include "tests/support/Sql.h"
#include "tests/support/ValidationFixture.h"

namespace brontelx {
namespace {

// Many windows opened and closed through the entry points, and many validations run from one test
// window, with the archive and the delivery-note database on the loopback server: afterwards the
// server counts as many attachments and transactions as before. Under the sanitizer build the
// leak checker then checks that nothing of them stayed allocated.
class WindowCyclesServerTest : public testing::ValidationFixture {
 protected:
  void SetUp() override {
    ValidationFixture::SetUp();
    BRONTELX_REQUIRE_LOOPBACK_SERVER();
    UseArchiveAt(testing::RemoteName(archiveFile.Path()));
    ruxLocation = testing::RemoteName(ruxFile.Path());
    SetLocation(ruxLocation);
    Log(1, 1, 15, "APERTURA");
    AddDeliveryNote("B1");
  }

  // Transactions of other attachments on the archive, as the server counts them.
  std::int64_t ArchiveTransactions() {
    return testing::QueryInt(archive, "SELECT COUNT(*) FROM MON$TRANSACTIONS WHERE MON$ATTACHMENT_ID <> "
                                      "CURRENT_CONNECTION");
  }

  static QWidget* OnlyWindow() {
    QWidget* found = nullptr;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
      if (widget->isVisible()) found = widget;
    }
    return found;
  }

  const testing::LoadedLibrary library{BRONTELX_LIBRARY_PATH};
};

TEST_F(WindowCyclesServerTest, WindowsAndValidationsGiveBackWhatTheyTake) {
  const std::int64_t attachments = ArchiveAttachments();
  const std::int64_t transactions = ArchiveTransactions();
  for (const testing::LoadedLibrary::ShowFunction show : {library.showSettings, library.showTest}) {
    for (int cycle = 0; cycle < 200; ++cycle) {
      ASSERT_EQ(show(kUser, kWindowLogId), 0) << "cycle " << cycle << ": " << library.LastError();
      QWidget* window = OnlyWindow();
      ASSERT_NE(window, nullptr);
      window->close();
      ProcessEvents();
    }
  }
  EXPECT_EQ(QApplication::topLevelWidgets().size(), 0);
  EXPECT_EQ(ArchiveAttachments(), attachments);
  EXPECT_EQ(ArchiveTransactions(), transactions);

  ASSERT_EQ(library.showTest(kUser, kWindowLogId), 0);
  QWidget* window = OnlyWindow();
  window->findChild<QLineEdit*>("EditDatoAcquisito")->setText("B1");
  auto* run = window->findChild<QPushButton*>("ButtonTestVelZidBol");
  auto* result = window->findChild<QLineEdit*>("EditRisultato");
  for (int i = 0; i < 1000; ++i) {
    result->clear();
    run->click();
    ASSERT_EQ(result->text(), "OK") << "run " << i;
  }
  // The window's own session holds one attachment to the archive; the validations hold nothing.
  EXPECT_EQ(ArchiveAttachments(), attachments + 1);
  EXPECT_EQ(ArchiveTransactions(), transactions);
  window->close();
  ProcessEvents();
  EXPECT_EQ(ArchiveAttachments(), attachments);
  EXPECT_TRUE(errors.empty());
}

}  // namespace
}  // namespace brontelx
