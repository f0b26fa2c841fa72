#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "database/FbClient.h"
#include "database/FbRef.h"
#include "database/Status.h"

// What the floors share: the constant parameter blocks and a message laid out as the server
// describes it. A floor is the plain OO API code a careful programmer would write for the same
// work, with its constant blocks built once.
namespace brontelx::bench::floor {

// The attach block of the library's connections: UTF-8 file name, the connect timeout,
// user_name SYSDBA, password quillbank.
const std::vector<unsigned char>& Dpb();

inline constexpr unsigned char kSnapshotTpb[] = {isc_tpb_version3, isc_tpb_concurrency, isc_tpb_nowait};
// The transaction of a TDRKTabX: a snapshot that waits up to 2 s for another write of the same row.
inline constexpr unsigned char kTabXTpb[] = {isc_tpb_version3, isc_tpb_concurrency, isc_tpb_wait,
                                             isc_tpb_lock_timeout, 4, 2, 0, 0, 0};
inline constexpr unsigned char kReadCommittedTpb[] = {isc_tpb_version3, isc_tpb_read_committed,
                                                      isc_tpb_rec_version};

inline constexpr unsigned kDialect = 3;
inline constexpr unsigned kPrepareFlags = Firebird::IStatement::PREPARE_PREFETCH_METADATA;

Firebird::IAttachment* Attach(db::Status& status, const std::string& database);

// A message buffer in the layout of the statement's input or output metadata.
class Message {
 public:
  Message(db::Status& status, Firebird::IMessageMetadata* metadata);  // takes the reference
  Message(const Message&) = delete;
  Message& operator=(const Message&) = delete;

  Firebird::IMessageMetadata* Metadata() const { return metadata_.get(); }
  unsigned char* Data() { return buffer_.data(); }

  void SetNull(unsigned index);
  // Text into a CHAR or VARCHAR field; an integer into a SMALLINT, INTEGER or BIGINT field.
  void SetText(unsigned index, std::string_view text);
  void SetInt(unsigned index, std::int64_t value);

  bool IsNull(unsigned index) const;
  std::string Text(unsigned index) const;
  std::int64_t Int(unsigned index) const;

 private:
  struct Field {
    unsigned type;
    unsigned length;
    unsigned offset;
    unsigned nullOffset;
  };
  db::FbRef<Firebird::IMessageMetadata> metadata_;
  std::vector<Field> fields_;
  std::vector<unsigned char> buffer_;
};

Message InputOf(db::Status& status, Firebird::IStatement* statement);
Message OutputOf(db::Status& status, Firebird::IStatement* statement);

// The count of `sql`, whose one marker takes the 7-bit ASCII `text`, in one exchange: prepared,
// run and its row returned by IAttachment::execute, with the input (UTF-8 text) and output
// (BIGINT) laid out by the client instead of described by the server.
std::int64_t ExecuteCount(db::Status& status, Firebird::IAttachment* attachment, Firebird::ITransaction* transaction,
                          const char* sql, std::string_view text);

}  // namespace brontelx::bench::floor
