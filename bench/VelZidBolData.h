#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "database/Connection.h"
#include "database/FbHandle.h"
#include "tests/support/TestDatabase.h"

namespace brontelx::bench {

// The run every validation benchmark measures: user 1 acquires delivery note B5. B5 is in BOLLE,
// the user's latest log entry is not an opening, and B5 belongs to a chain with an APERTURA
// entry, so the validation runs all three queries and answers "OK".
inline constexpr std::int32_t kLogUser = 1;
inline constexpr char kAcceptedCode[] = "B5";

// A delivery-note database whose BOLLE holds the codes B0 to B999, with the given default
// character set. It is filled and closed again, so the embedded engine of a later run or the
// loopback server can open it.
class DeliveryNotes {
 public:
  explicit DeliveryNotes(const std::string& charset = "UTF8");
  const std::string& Path() const { return path_; }

 private:
  testing::TestDatabase database_;
  std::string path_;
};

// The connection string of a file on the private loopback server, from BRONTELX_FB_PORT;
// nothing when the variable is unset or not a port number.
std::optional<std::string> LoopbackLocation(const std::string& path);

// Makes `archive` a validation archive: the shared value VelZidBolDBRux names `ruxLocation`, and
// the acquisition log BRONTELLOG holds `logRows` entries as ValidationArchive describes them.
void FillValidationArchive(db::Connection& archive, const std::string& ruxLocation, int logRows);

// A company archive whose shared value VelZidBolDBRux names `ruxLocation` and whose acquisition
// log BRONTELLOG holds `logRows` entries: chains of ten entries, each opened by APERTURA and then
// holding nine distinct codes, spread over 1000 users, with the index statistics brought up to
// date. It stays attached twice, as a session keeps its archive: once through the library, once
// on the plain API for the floor.
class ValidationArchive {
 public:
  ValidationArchive(const std::string& ruxLocation, int logRows);
  ValidationArchive(const ValidationArchive&) = delete;
  ValidationArchive& operator=(const ValidationArchive&) = delete;

  const std::string& Path() const { return path_; }
  db::Connection& Library() { return library_; }
  Firebird::IAttachment* Raw() const { return raw_.get(); }

 private:
  testing::TestDatabase database_;
  std::string path_;
  db::Connection library_;
  db::FbHandle<Firebird::IAttachment> raw_;
};

}  // namespace brontelx::bench
