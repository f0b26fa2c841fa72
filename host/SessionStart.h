#pragma once

#include <cstdint>

#include "session/BrontelX.Classes.h"

namespace brontelx::cli {

// Starts `session` for `user` as TSessione::Avvia does (user directory, user, archive), one step
// at a time, so that a database that cannot be attached is reported as UnreachableDatabase with
// its file, its dati.ini and its connection string. A user that does not exist and an archive
// that is not set are the session's own errors.
void StartSession(TSessione& session, std::int32_t user);

}  // namespace brontelx::cli
