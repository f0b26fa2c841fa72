#include "database/Statement.h"

#include <algorithm>

#include "base/Ascii.h"
#include "database/Connection.h"
#include "database/DatabaseError.h"
#include "database/ParamScanner.h"
#include "database/Transaction.h"
#include "database/internal/ConnectionCore.h"
#include "database/internal/MessageData.h"
#include "database/internal/TextBlob.h"
#include "database/internal/Tie.h"

namespace brontelx::db {

namespace {

bool MayReturnColumns(unsigned statementType) {
  switch (statementType) {
    case isc_info_sql_stmt_insert:
    case isc_info_sql_stmt_update:
    case isc_info_sql_stmt_delete:
    case isc_info_sql_stmt_ddl:
    case isc_info_sql_stmt_start_trans:
    case isc_info_sql_stmt_commit:
    case isc_info_sql_stmt_rollback:
    case isc_info_sql_stmt_set_generator:
    case isc_info_sql_stmt_savepoint:
      return false;
    default:
      return true;
  }
}

}  // namespace

std::atomic<std::uint64_t> Statement::prepareCount_{0};

Statement::Statement(Connection* database, Transaction* transaction)
    : database_(std::make_unique<Tie<ConnectionCore>>(database ? &database->Core().Statements() : nullptr,
                                                      [this] { Unprepare(); })),
      transaction_(std::make_unique<Tie<Transaction>>(transaction ? &transaction->Statements() : nullptr,
                                                      [this] { CloseQuietly(); })) {}

Statement::~Statement() { Unprepare(); }

Connection* Statement::Database() const {
  ConnectionCore* core = database_->Get();
  return core ? &core->Owner() : nullptr;
}

Transaction* Statement::GetTransaction() const { return transaction_->Get(); }

ConnectionCore& Statement::Core() const {
  ConnectionCore* core = database_->Get();
  if (!core) throw DatabaseError("Statement has no database");
  return *core;
}

Firebird::ITransaction* Statement::ActiveHandle() const {
  Transaction* transaction = transaction_->Get();
  return transaction && transaction->Active() ? transaction->Handle() : nullptr;
}

void Statement::SetSQL(std::vector<std::string> lines) {
  Unprepare();
  lines_ = std::move(lines);
  Rescan();
}

void Statement::SetParamCheck(bool scan) {
  if (scan == paramCheck_) return;
  Unprepare();
  paramCheck_ = scan;
  Rescan();
}

void Statement::Rescan() {
  std::string joined;
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    if (i) joined += '\n';
    joined += lines_[i];
  }
  params_.clear();
  markerParams_.clear();
  if (!paramCheck_) {
    sql_ = std::move(joined);
    return;
  }
  ScannedSql scanned = ScanParams(joined);
  sql_ = std::move(scanned.sql);
  for (const std::string& name : scanned.markerNames) {
    auto it = std::find_if(params_.begin(), params_.end(),
                           [&](const Param& p) { return ascii::EqualsIgnoringCase(p.Name(), name); });
    if (it == params_.end()) {
      params_.emplace_back(name);
      it = params_.end() - 1;
    }
    markerParams_.push_back(static_cast<std::size_t>(it - params_.begin()));
  }
}

Param& Statement::ParamByName(std::string_view name) {
  for (Param& param : params_) {
    if (ascii::EqualsIgnoringCase(param.Name(), name)) return param;
  }
  throw DatabaseError("Parameter \"" + std::string(name) + "\" not found");
}

Transaction& Statement::ActiveTransaction() const {
  Connection* database = Database();
  Transaction* transaction = GetTransaction();
  if (!database) throw DatabaseError("Statement has no database");
  if (!transaction) throw DatabaseError("Statement has no transaction");
  if (transaction->DefaultDatabase() != database)
    throw DatabaseError("The statement's transaction belongs to another database");
  transaction->Handle();  // raises when not active
  return *transaction;
}

void Statement::Prepare() {
  if (handle_) return;
  Transaction& transaction = ActiveTransaction();
  if (sql_.empty()) throw DatabaseError("Empty SQL statement");
  ConnectionCore& core = Core();
  // The text travels without a character set, so its literals are read like any value typed NONE.
  const std::string text = core.Charsets().EncodeSql(sql_, transaction.Handle());
  Status status(&core.GetWire());
  handle_ = FbHandle<Firebird::IStatement>(
      core.Attachment()->prepare(&status, transaction.Handle(), static_cast<unsigned>(text.size()), text.c_str(),
                                 kSqlDialect, Firebird::IStatement::PREPARE_PREFETCH_METADATA));
  ++prepareCount_;
  try {
    statementType_ = handle_->getType(&status);
    // The markers are described when the statement first runs with parameters: a statement
    // prepared only for its columns (PreparaUpdateSQL's copy of a query) never asks for them.
    // Plain inserts, updates, deletes and the rest have no output (with RETURNING a statement is
    // of the procedure kind), so only the kinds that may return columns are asked for them.
    if (MayReturnColumns(statementType_)) {
      output_.Describe(handle_.get());
    } else {
      output_.Clear();  // what ExecCount laid out, if it ran before
    }
  } catch (...) {
    Unprepare();
    throw;
  }
}

void Statement::ExecQuery() {
  Transaction& transaction = ActiveTransaction();
  CloseQuietly();
  Prepare();
  // Without named parameters there is no input message: the engine is not asked to describe the
  // markers. A statement with markers of its own then fails to run, and is described to say why.
  if (!markerParams_.empty()) {
    if (!input_.Described()) input_.Describe(handle_.get(), markerParams_);
    input_.Fill(params_, Core(), transaction.Handle());
  }
  Status status(&Core().GetWire());
  eof_ = true;
  output_.SetFilled(false);
  try {
    if (statementType_ == isc_info_sql_stmt_select || statementType_ == isc_info_sql_stmt_select_for_upd) {
      cursor_ = FbHandle<Firebird::IResultSet>(handle_->openCursor(
          &status, transaction.Handle(), input_.Metadata(), input_.Buffer(), output_.Metadata(), 0));
    } else {
      handle_->execute(&status, transaction.Handle(), input_.Metadata(), input_.Buffer(), output_.Metadata(),
                       output_.Buffer());
      output_.SetFilled(output_.Count() > 0);
      eof_ = !output_.Filled();
      return;
    }
  } catch (const DatabaseError&) {
    if (markerParams_.empty()) input_.Describe(handle_.get(), markerParams_);
    throw;
  }
  Next();
}

void Statement::ExecCount() {
  Transaction& transaction = ActiveTransaction();
  if (handle_ || sql_.empty() || !ascii::IsSevenBit(sql_) ||
      !input_.Declare(params_, markerParams_, Core(), transaction.Handle())) {
    ExecQuery();
    return;
  }
  CloseQuietly();
  output_.DeclareInteger();
  Status status(&Core().GetWire());
  try {
    Core().Attachment()->execute(&status, transaction.Handle(), static_cast<unsigned>(sql_.size()),
                                     sql_.c_str(), kSqlDialect, input_.Metadata(), input_.Buffer(),
                                     output_.Metadata(), output_.Buffer());
  } catch (...) {
    // Layouts of no server's making are not left for ExecQuery or the fields to use.
    input_.Clear();
    output_.Clear();
    throw;
  }
  output_.SetFilled(true);
  eof_ = false;
}

void Statement::Next() {
  output_.SetFilled(false);
  eof_ = true;
  if (!cursor_) return;
  Status status(&Core().GetWire());
  const bool fetched = cursor_->fetchNext(&status, output_.Buffer()) == Firebird::IStatus::RESULT_OK;
  output_.SetFilled(fetched);
  eof_ = !fetched;
}

void Statement::Close() {
  output_.SetFilled(false);
  eof_ = true;
  if (!cursor_) return;
  Status status(&Core().GetWire());
  cursor_.End(status, &Firebird::IResultSet::close<Status>);
}

void Statement::CloseQuietly() noexcept {
  output_.SetFilled(false);
  eof_ = true;
  cursor_.Drop();
}

void Statement::Unprepare() noexcept {
  CloseQuietly();
  handle_.Drop();
  input_.Clear();
  output_.Clear();
}

Field Statement::FieldAt(unsigned index) const {
  output_.At(index);
  return Field(&output_, this, index);
}

Field Statement::FieldByName(std::string_view name) const {
  const std::optional<unsigned> index = output_.Find(name);
  if (!index) throw DatabaseError("Field \"" + std::string(name) + "\" not found");
  return Field(&output_, this, *index);
}

std::string Statement::DecodeText(std::string_view bytes, unsigned charset) const {
  return Core().Charsets().DecodeColumn(bytes, charset, ActiveHandle());
}

std::string Statement::ReadBlob(ISC_QUAD id, int subType, unsigned charset) const {
  if (!Database() || !GetTransaction()) throw DatabaseError("Statement has no transaction");
  return db::ReadBlob(Core(), GetTransaction()->Handle(), id, subType, charset);
}

}  // namespace brontelx::db
