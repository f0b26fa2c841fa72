#pragma once

#include <gtest/gtest.h>

#include <string>

#include "database/Connection.h"
#include "tests/support/TestDatabase.h"

namespace brontelx::testing {

// A company archive (kept open, as a session holds it) and a delivery-note database whose
// location is stored as the shared value "VelZidBolDBRux".
class VelZidBolFixture : public ::testing::Test {
 protected:
  // Both databases with this default character set.
  explicit VelZidBolFixture(const std::string& charset = "UTF8")
      : archiveFile(schema::Kind::Archive, charset), ruxFile(schema::Kind::DeliveryNotes, charset) {}
  // Opens the archive: through the loopback server when archiveOverServer is set.
  void SetUp() override;

  void SetLocation(const std::string& location);
  void AddDeliveryNote(const std::string& code);
  // Appends a log entry with the next ID; chain < 0 writes a NULL chain.
  void Log(std::int32_t user, std::int64_t chain, const std::string& datum);
  std::string Run(std::int32_t user, const std::string& datum, const std::string& name = "VelZidBol");

  TestDatabase archiveFile;
  TestDatabase ruxFile;
  bool archiveOverServer = false;
  db::Connection archive;
  std::int64_t nextLogId = 1;
};

}  // namespace brontelx::testing
