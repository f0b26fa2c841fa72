#pragma once

// Stops the Firebird client of the whole process: the embedded engine's threads end and whatever
// is still attached is detached. For test and tool programs, just before they exit.
//
// Never for the library: its host owns the process, and other windows of the library or the host
// itself may hold attachments. That is why this function lives in a target of its own,
// brontelx_client_shutdown, which only programs link; the database layer and the library do not,
// so a call from their code does not link.
namespace brontelx::db {

void ShutdownClient();

}  // namespace brontelx::db
