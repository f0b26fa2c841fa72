#pragma once

#include <cstdint>
#include <string>

#include "database/Connection.h"
#include "validations/UnreachableDatabases.h"

namespace brontelx {

// The name of the shared value of TABX that holds the location of the delivery-note database.
inline constexpr char kVelZidBolDBRux[] = "VelZidBolDBRux";

// Runs the validation named `NomeFunzione` (matched ignoring the case of ASCII letters) on the
// company archive `Database`, for user `Utente` and the acquired datum `Dato`, and returns its
// result text: "OK", or a message beginning "ERR". An unknown name gives "ERR Funzione non
// esistente" without touching any database. A run that passes `unreachable` answers at once for a
// delivery-note database that an earlier run with it could not reach (a batch of validations);
// without it, every run tries to connect.
std::string EseguiValidazPers(db::Connection& Database, const std::string& NomeFunzione, std::int32_t Utente,
                              const std::string& Dato, UnreachableDatabases* unreachable = nullptr);

// The delivery-note validation: `Dato` must exist in BOLLE of the database named by the shared
// value kVelZidBolDBRux, and either the user's most recent acquisition log entry is a chain
// opening or the datum belongs to a chain that has one.
std::string VelZidBol(db::Connection& Database, std::int32_t Utente, const std::string& Dato,
                      UnreachableDatabases* unreachable = nullptr);

}  // namespace brontelx
