#include "Connection.h"

#include <charconv>
#include <cstdlib>
#include <cstring>

#include "Ascii.h"
#include "DatabaseCharset.h"
#include "DatabaseError.h"
#include "EngineDescriptors.h"
#include "Dependents.h"
#include "FbClient.h"
#include "HostSignals.h"
#ifndef _WIN32
#include "LockFolder.h"
#endif
#include "ParamLines.h"
#include "ResponseDeadline.h"
#include "Statement.h"
#include "Transaction.h"
#include "Utf8FileNames.h"

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

Connection::Connection() = default;

Connection::~Connection() {
  try {
    Close();
  } catch (...) {
    // A detach error cannot be reported from a destructor; the attachment is released anyway.
  }
  for (Transaction* transaction : std::vector<Transaction*>(transactions_)) transaction->SetDefaultDatabase(nullptr);
  for (Statement* statement : std::vector<Statement*>(statements_)) statement->SetDatabase(nullptr);
}

void Connection::Open() {
  if (attachment_) throw DatabaseError("Database already open");
  ParamBlock dpb(Firebird::IXpbBuilder::DPB);
  // The name (and every text of the block) is UTF-8, so folders with accented letters open.
  dpb.AddTag(isc_dpb_utf8_filename);
  // A remote server that does not answer fails the attach after this long instead of the
  // client's 180 seconds; the engine ignores it for local files.
  dpb.AddInt(isc_dpb_connect_timeout, ConnectTimeoutSeconds());
  AddParamLines(dpb, params_, LookupDpbItem, "connection");
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
    attached = FbHandle<Firebird::IAttachment>(Provider()->attachDatabase(
        &status, databaseName_.c_str(), static_cast<unsigned>(bytes.size()), bytes.data()));
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
  attachment_ = std::move(attached);
  server_ = server;
  cutMessage_.clear();
  noneEncoding_.reset();
}

void Connection::EndDependents() {
  for (Statement* statement : std::vector<Statement*>(statements_)) statement->Unprepare();
  for (Transaction* transaction : std::vector<Transaction*>(transactions_)) transaction->EndOnClose();
}

void Connection::Close() {
  if (!attachment_) return;
  EndDependents();
  if (!cutMessage_.empty()) {
    // The cut attachment answers nothing: let go of it without a word.
    cutMessage_.clear();
    attachment_.Drop();
    return;
  }
  Status status(this);
  attachment_.End(status, &Firebird::IAttachment::detach<Status>);
}

Firebird::IAttachment* Connection::Attachment() const {
  if (!attachment_) throw DatabaseError("Database not open");
  CheckNotCut();
  return attachment_.get();
}

const std::string& Connection::Cut(int seconds) {
  if (cutMessage_.empty()) cutMessage_ = ResponseDeadline::Message(server_, seconds);
  return cutMessage_;
}

void Connection::CheckNotCut() const {
  if (!cutMessage_.empty()) throw DatabaseError(cutMessage_);
}

const charsets::ByteEncoding& Connection::NoneEncoding(Transaction* within) {
  if (noneEncoding_) return *noneEncoding_;
  readingNoneEncoding_ = true;
  try {
    std::string charset;
    if (within && within->DefaultDatabase() == this && within->Active()) {
      charset = ReadDefaultCharset(Attachment(), within->Handle());
    } else {
      Transaction transaction(this);
      transaction.Params() = {"read", "read_committed", "rec_version"};
      transaction.StartTransaction();
      charset = ReadDefaultCharset(Attachment(), transaction.Handle());
      transaction.Commit();
    }
    noneEncoding_ = charsets::ByteEncoding::ForCharset(charset);
  } catch (...) {
    readingNoneEncoding_ = false;
    throw;
  }
  readingNoneEncoding_ = false;
  return *noneEncoding_;
}

std::string Connection::DecodeNone(std::string_view bytes, Transaction* within) {
  if (ascii::IsSevenBit(bytes)) return std::string(bytes);
  return NoneEncoding(within).Decode(bytes);
}

std::optional<std::string> Connection::EncodeNone(std::string_view text, Transaction* within) {
  if (ascii::IsSevenBit(text)) return std::string(text);
  return NoneEncoding(within).Encode(text);
}

charsets::ByteEncoding Connection::MessageEncoding() noexcept {
  if (!noneEncoding_ && attachment_ && !readingNoneEncoding_) {
    try {
      NoneEncoding(nullptr);
    } catch (...) {
      // An attachment that cannot answer this has its messages read as Windows-1252.
    }
  }
  return noneEncoding_ ? *noneEncoding_ : charsets::ByteEncoding::ForCharset("NONE");
}

void Connection::AddDependent(Transaction* transaction) { transactions_.push_back(transaction); }
void Connection::RemoveDependent(Transaction* transaction) { EraseDependent(transactions_, transaction); }
void Connection::AddDependent(Statement* statement) { statements_.push_back(statement); }
void Connection::RemoveDependent(Statement* statement) { EraseDependent(statements_, statement); }

}  // namespace brontelx::db
