#pragma once

#include <gtest/gtest.h>

#include <string>

#include "Connection.h"
#include "TestDatabase.h"

namespace brontelx::testing {

// A company archive (kept open, as a session holds it) and a delivery-note database whose
// location is stored as the shared value "VelZidBolDBRux".
class VelZidBolFixture : public ::testing::Test {
 protected:
  void SetUp() override;

  void SetLocation(const std::string& location);
  void AddDeliveryNote(const std::string& code);
  // Appends a log entry with the next ID; chain < 0 writes a NULL chain.
  void Log(std::int32_t user, std::int64_t chain, const std::string& datum);
  std::string Run(std::int32_t user, const std::string& datum, const std::string& name = "VelZidBol");

  TestDatabase archiveFile{schema::Kind::Archive};
  TestDatabase ruxFile{schema::Kind::DeliveryNotes};
  db::Connection archive;
  std::int64_t nextLogId = 1;
};

}  // namespace brontelx::testing
