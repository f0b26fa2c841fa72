#pragma once

#include <filesystem>
#include <string>

namespace brontelx::schema {

// The three databases the library works with.
enum class Kind {
  UserDirectory,  // user/user.fdb: UTENTI, TABQUADREL, TELVILOGFUNZ
  Archive,        // company archive: TABX (+ CODICETABXCOUNTER), STOPOS1, BRONTELLOG
  DeliveryNotes,  // delivery-note database: BOLLE
};

// Creates the database file with the embedded engine (SQL dialect 3, default character set
// defaultCharset such as "UTF8", "WIN1252" or "NONE") and the objects of its kind, each DDL statement
// committed in its own transaction. Throws brontelx::db::DatabaseError on failure; a file this call
// created is removed again, an existing file is left untouched.
void CreateDatabase(const std::filesystem::path& file, Kind kind, const std::string& defaultCharset);

}  // namespace brontelx::schema
