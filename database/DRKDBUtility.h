#pragma once

#include <bitset>
#include <initializer_list>
#include <memory>
#include <string>

#include "database/Connection.h"
#include "database/DBConnectionInfo.h"
#include "database/Transaction.h"

namespace brontelx {

// A set of transaction parameter items: bit n stands for item n (15 read_committed, 17
// rec_version, ...). Only items 1 to 20 are honoured.
using TTPBFlags = std::bitset<32>;
TTPBFlags MakeTPBFlags(std::initializer_list<int> items);

// The engine credentials every connection uses.
extern const char* const kDBUserName;
extern const char* const kDBPassword;

// The "dati.ini" that describes where database `FileName` lives: in the folder part of FileName,
// which ends at its last '/', '\' or ':'.
std::string DatiIniPath(const std::string& FileName);

// The description a database file name stands for: FileName, with the settings of section
// "CONFIG" of the dati.ini beside it when that is a file.
TDBConnectionInfo DescribeDatabase(const std::string& FileName);

// Opens `Database` on the database that `FileName` names, as DescribeDatabase(FileName) describes it.
void OpenIBDatabase(db::Connection& Database, const std::string& FileName);

// Opens `Database` on the database the description names: closes it first when connected, sets the
// two credential lines and the connection string, then attaches.
void OpenIBDatabase(db::Connection& Database, const TDBConnectionInfo& DBConnectionInfo);

// Appends one "isc_tpb_<name>" line for each item of Flags, in ascending item order.
void SetTransactionParams(db::Transaction& Transaction, TTPBFlags Flags);

// A new, started transaction on Database with the items of Flags; the caller owns it.
std::unique_ptr<db::Transaction> CreateIBTransaction(db::Connection& Database, TTPBFlags Flags);

// A new, started read_committed + rec_version transaction on Database; the caller owns it.
std::unique_ptr<db::Transaction> CreateReadCommittedTransaction(db::Connection& Database);

}  // namespace brontelx
