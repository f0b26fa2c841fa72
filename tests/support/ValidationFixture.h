#pragma once

#include <string>

#include "tests/support/FormsFixture.h"
#include "tests/support/TestDatabase.h"

namespace brontelx::testing {

// FormsFixture with a delivery-note database whose location the archive stores as the shared
// value "VelZidBolDBRux", for windows that run the validation.
class ValidationFixture : public FormsFixture {
 protected:
  void SetUp() override;

  // Stores `location` in the archive as the delivery-note location, through the named-value table.
  void SetLocation(const std::string& location);
  void AddDeliveryNote(const std::string& code);
  void Log(int id, int chain, int user, const std::string& datum);
  // The shared named value as stored in the archive; "<none>" without a row.
  std::string StoredLocation();

  // Where the delivery-note database is reached; its path by default.
  std::string ruxLocation;
  TestDatabase ruxFile{schema::Kind::DeliveryNotes};
};

}  // namespace brontelx::testing
