#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "bench/FloorApi.h"

namespace brontelx::bench {

// The statements exactly as the library sends them (named parameters become "?").
inline constexpr char kTabXRead[] =
    "SELECT\n  TESTO,\n  MEMO\nFROM\n  TABX\nWHERE\n  NOME=?\n  AND\n  UTENTE IS NOT DISTINCT FROM ?";
inline constexpr char kBolleCount[] = "SELECT COUNT(*) FROM BOLLE WHERE BOL_COD = ?";
inline constexpr char kLatestEntry[] =
    "SELECT FIRST 1 DATOINPUT FROM BRONTELLOG WHERE USER_AUTENTICAZ = ? ORDER BY ID DESC";
inline constexpr char kChainCount[] =
    "SELECT COUNT(DISTINCT L1.ID_CATENA) FROM BRONTELLOG L1 WHERE L1.DATOINPUT = ? AND EXISTS (SELECT 1 FROM "
    "BRONTELLOG L2 WHERE L2.ID_CATENA = L1.ID_CATENA AND L2.DATOINPUT = 'APERTURA')";

// VelZidBol on the plain API, in the library's order: the shared value in a snapshot transaction
// of its own; the delivery-note count in a read-committed transaction on a new attachment; the
// two log queries, each prepared afresh, in a read-committed transaction on the archive; then both
// transactions rolled back, the statements freed and the delivery-note database detached.
// `countElsewhere`, when given, counts the delivery note on the database at the location instead
// (attaching, counting and detaching on its own), for variants of the delivery-note part.
using DeliveryNoteCount = std::function<std::int64_t(const std::string& location)>;
std::string FloorVelZidBol(db::Status& status, Firebird::IAttachment* archive, std::int32_t user,
                           const std::string& datum, const DeliveryNoteCount& countElsewhere = {});

}  // namespace brontelx::bench
