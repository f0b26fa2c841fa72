#pragma once

#include <string>

// The folder where the embedded engine keeps its lock files, shared by every process that opens the
// same database files: FIREBIRD_LOCK, else /tmp/firebird. Run as root, the engine gives what it
// creates there to firebird:firebird with mode 0660 (0770 for the folder), so another user of the
// machine cannot attach afterwards unless the folder is set up for a group (POSIX only).
namespace brontelx::db::client {

std::string LockFolder();

// Why the current user cannot use the lock folder (the folder or file, its owner and mode, and the
// remedy), or empty text when it can, or can create it.
std::string LockFolderProblem();

}  // namespace brontelx::db::client
