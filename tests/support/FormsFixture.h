#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "database/Connection.h"
#include "platform/qt/QtBackend.h"
#include "tests/support/TestDatabase.h"

namespace brontelx::testing {

// The Qt backend with a recorder in place of its error box.
class RecordingBackend final : public platform::qt::QtBackend {
 public:
  explicit RecordingBackend(std::vector<std::string>& messages) : messages_(messages) {}
  void ShowError(const std::string& message) override;

  std::function<void()> whileShown;  // runs inside the box, as a modal box runs its own loop

 private:
  std::vector<std::string>& messages_;
};

// What a window needs around it: the user directory beside the test program with user 15 (ROSSI
// MARIO of ALFA SRL) whose archive is `archiveFile`, the window-log row 7, and a recorder in place
// of the error box, in the backend the windows are built with. Windows still open at the end of a
// test are closed and released.
class FormsFixture : public ::testing::Test {
 protected:
  static constexpr std::int32_t kUser = 15;
  static constexpr std::int32_t kWindowLogId = 7;

  void SetUp() override;
  void TearDown() override;

  // Makes `location` the user's "Archivio" and reconnects `archive` there.
  void UseArchiveAt(const std::string& location);
  void SetArchivio(const std::string& value);
  // HANDLEFINESTRA of window-log row `id`, "" when NULL.
  std::string LoggedHandle(std::int32_t id = kWindowLogId);
  // Attachments to the archive besides `archive`, as its monitoring tables count them.
  std::int64_t ArchiveAttachments();

  // Delivers what is waiting in the event queue (deferred releases among it).
  static void ProcessEvents();
  static int TopLevelWindows();

  std::unique_ptr<TestDatabase> userDirectory;
  TestDatabase archiveFile{schema::Kind::Archive};
  db::Connection users;
  db::Connection archive;
  std::vector<std::string> errors;  // what the error box was asked to show
  RecordingBackend toolkit{errors};

 private:
  platform::Backend* previousBackend_ = nullptr;
};

}  // namespace brontelx::testing
