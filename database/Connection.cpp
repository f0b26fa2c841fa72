#include "database/Connection.h"

#include <charconv>
#include <cstdlib>
#include <cstring>

#include "base/EngineDescriptors.h"
#include "base/HostSignals.h"
#include "database/DatabaseError.h"
#include "database/FbClient.h"
#include "database/internal/ConnectionCore.h"
#include "database/internal/MessageData.h"
#ifndef _WIN32
#include "database/LockFolder.h"
#endif
#include "base/Utf8FileNames.h"
#include "database/ResponseDeadline.h"
#include "database/internal/ParamLines.h"

namespace brontelx::db {
namespace {

std::optional<ParamItem> LookupDpbItem(std::string_view name) {
  struct Named {
    std::string_view name;
    unsigned char tag;
  };
  static constexpr Named kItems[] = {
      {"user_name", isc_dpb_user_name},
      {"password", isc_dpb_password},
      {"lc_ctype", isc_dpb_lc_ctype},
      {"sql_role_name", isc_dpb_sql_role_name},
  };
  for (const Named& item : kItems) {
    if (item.name == name) return ParamItem{item.tag, ParamItem::Value::Text};
  }
  return std::nullopt;
}

}  // namespace

int Connection::ConnectTimeoutSeconds() {
  const char* text = std::getenv("BRONTELX_CONNECT_TIMEOUT");
  if (!text) return kConnectTimeoutSeconds;
  const char* end = text + std::strlen(text);
  int seconds = 0;
  const auto [stop, error] = std::from_chars(text, end, seconds);
  if (error != std::errc() || stop != end || seconds < 1 || seconds > 180) return kConnectTimeoutSeconds;
  return seconds;
}

Connection::Connection() : core_(std::make_unique<ConnectionCore>(*this)) {}

Connection::~Connection() {
  try {
    Close();
  } catch (...) {
    // A detach error cannot be reported from a destructor; the attachment is released anyway.
  }
}

void Connection::Open() { Attach(std::nullopt); }

void Connection::Create(const std::string& defaultCharset) { Attach(defaultCharset); }

void Connection::Attach(const std::optional<std::string>& createWithCharset) {
  if (core_->Attached()) throw DatabaseError("Database already open");
  ParamBlock dpb(Firebird::IXpbBuilder::DPB);
  // The name (and every text of the block) is UTF-8, so folders with accented letters open.
  dpb.AddTag(isc_dpb_utf8_filename);
  // A remote server that does not answer fails the attach after this long instead of the
  // client's 180 seconds; the engine ignores it for local files.
  dpb.AddInt(isc_dpb_connect_timeout, ConnectTimeoutSeconds());
  AddParamLines(dpb, params_, LookupDpbItem, "connection");
  if (createWithCharset) {
    dpb.AddInt(isc_dpb_sql_dialect, static_cast<int>(kSqlDialect));
    dpb.AddText(isc_dpb_set_db_charset, *createWithCharset);
  }
  const std::vector<unsigned char> bytes = dpb.Bytes();
  const client::Utf8FileNames fileNames;
  const client::HostSignals hostSignals;
  const client::EngineDescriptors descriptors;
  const std::string server = ResponseDeadline::ServerOf(databaseName_);
  // Past the first answer the client waits for the server without bound: the deadline cuts it.
  std::optional<ResponseDeadline::Watch> watch;
  if (!server.empty()) watch.emplace();
  FbHandle<Firebird::IAttachment> attached;
  try {
    Status status;
    const auto size = static_cast<unsigned>(bytes.size());
    attached = FbHandle<Firebird::IAttachment>(
        createWithCharset ? Provider()->createDatabase(&status, databaseName_.c_str(), size, bytes.data())
                          : Provider()->attachDatabase(&status, databaseName_.c_str(), size, bytes.data()));
  } catch (const DatabaseError& e) {
    if (watch && watch->Expired()) throw DatabaseError(ResponseDeadline::Message(server, watch->Seconds()));
#ifndef _WIN32
    // The engine names only the file it could not open; say whose lock folder it is and what to do.
    if (server.empty() && std::strstr(e.what(), "Permission denied")) {
      const std::string problem = client::LockFolderProblem();
      if (!problem.empty()) throw DatabaseError(std::string(e.what()) + "\n" + problem, e.IscCode());
    }
#endif
    throw;
  }
  // Cut just as it succeeded: the attachment's socket is shut.
  if (watch && watch->Expired()) throw DatabaseError(ResponseDeadline::Message(server, watch->Seconds()));
  core_->Attach(std::move(attached), server);
}

void Connection::Close() { core_->Detach(); }

void Connection::Drop() { core_->Drop(); }

bool Connection::Connected() const { return core_->Attached(); }

const std::string& Connection::Server() const { return core_->GetWire().Server(); }

}  // namespace brontelx::db
