#include "platform/database.h"

#include <sqlite3.h>

#include <cassert>
#include <chrono>
#include <cstdarg>
#include <thread>

#include "platform/paths.h"
#include "platform/progress.h"
#include "platform/text.h"

namespace qv5 {

std::string SqlFormat(const char* format, ...) {
    va_list args;
    va_start(args, format);
    char* text = sqlite3_vmprintf(format, args);
    va_end(args);
    std::string out = text ? text : "";
    sqlite3_free(text);
    return out;
}

Statement& Statement::operator=(Statement&& o) noexcept {
    if (this != &o) {
        sqlite3_finalize(stmt_);
        stmt_ = o.stmt_;
        db_ = o.db_;
        last_rc_ = o.last_rc_;
        o.stmt_ = nullptr;
    }
    return *this;
}

Statement::~Statement() {
    sqlite3_finalize(stmt_);
}

bool Statement::Step() {
    if (!stmt_) {
        last_rc_ = SQLITE_ERROR;
        return false;
    }
    last_rc_ = sqlite3_step(stmt_);
    if (last_rc_ == SQLITE_ROW || last_rc_ == SQLITE_DONE) {
        if (db_->waiting_) db_->EndWait();
    } else {
        db_->NoteError();
    }
    return last_rc_ == SQLITE_ROW;
}

bool Statement::Failed() const {
    return last_rc_ != SQLITE_ROW && last_rc_ != SQLITE_DONE && last_rc_ != SQLITE_OK;
}

void Statement::Reset() {
    if (!stmt_) return;
    sqlite3_reset(stmt_);
    sqlite3_clear_bindings(stmt_);
    last_rc_ = SQLITE_OK;
}

bool Statement::CheckCount(int n) {
    if (stmt_ && sqlite3_bind_parameter_count(stmt_) == n) return true;
    if (db_) db_->NoteError("a statement was given the wrong number of values");
    return false;
}

// A column past the row's end reads as NULL, 0 or "" without a word: a
// read by position that no longer matches the statement's columns.
bool Statement::HasColumn(int col) const {
    return col >= 0 && col < sqlite3_column_count(stmt_);
}

bool Statement::HasParameter(int index) const {
    return index >= 1 && index <= sqlite3_bind_parameter_count(stmt_);
}

std::int32_t Statement::Int(int col) const {
    assert(HasColumn(col));
    return sqlite3_column_int(stmt_, col);
}
std::int64_t Statement::Int64(int col) const {
    assert(HasColumn(col));
    return sqlite3_column_int64(stmt_, col);
}
int Statement::Columns() const {
    return sqlite3_column_count(stmt_);
}
bool Statement::IsNull(int col) const {
    assert(HasColumn(col));
    return sqlite3_column_type(stmt_, col) == SQLITE_NULL;
}

std::string Statement::Text(int col) const {
    assert(HasColumn(col));
    const unsigned char* t = sqlite3_column_text(stmt_, col);
    if (!t) return std::string();
    int n = sqlite3_column_bytes(stmt_, col);
    return Utf8ToCp932Lossy(std::string_view(reinterpret_cast<const char*>(t), size_t(n)));
}

void Statement::Bind(int index, std::string_view cp932) {
    assert(HasParameter(index));
    std::string u = Cp932ToUtf8(cp932);
    sqlite3_bind_text(stmt_, index, u.data(), int(u.size()), SQLITE_TRANSIENT);
}

void Statement::BindRaw(int index, std::string_view bytes) {
    assert(HasParameter(index));
    sqlite3_bind_text(stmt_, index, bytes.data(), int(bytes.size()), SQLITE_TRANSIENT);
}

void Statement::Bind(int index, std::int64_t value) {
    assert(HasParameter(index));
    sqlite3_bind_int64(stmt_, index, value);
}

bool Statement::Run() {
    return Execute() == SQLITE_DONE;
}

int Statement::Execute() {
    if (!stmt_) return SQLITE_ERROR;  // the failed Prepare left its text
    int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW) rc = SQLITE_DONE;
    if (rc != SQLITE_DONE)
        db_->NoteError();
    else if (db_->waiting_)
        db_->EndWait();
    sqlite3_reset(stmt_);
    sqlite3_clear_bindings(stmt_);
    return rc;
}

bool Database::Open(std::string_view path, Mode mode) {
    Close();
    auto host = ToHostPath(path);
    if (!host) return false;
    int flags = mode == Mode::ReadOnly
                    ? SQLITE_OPEN_READONLY
                    : SQLITE_OPEN_READWRITE | (mode == Mode::OpenOrCreate ? SQLITE_OPEN_CREATE : 0);
    if (sqlite3_open_v2(host->c_str(), &db_, flags, nullptr) != SQLITE_OK) {
        sqlite3_close(db_);
        db_ = nullptr;
        return false;
    }
    // The game body reads these files with an old SQLite: keep the rollback journal.
    if (mode != Mode::ReadOnly) sqlite3_exec(db_, "PRAGMA journal_mode=DELETE", nullptr, nullptr, nullptr);
    sqlite3_extended_result_codes(db_, 0);
    sqlite3_busy_handler(db_, &Database::OnBusy, this);
    return true;
}

int Database::OnBusy(void* self, int count) {
    auto* db = static_cast<Database*>(self);
    const auto now = std::chrono::duration_cast<std::chrono::milliseconds>(
                         std::chrono::steady_clock::now().time_since_epoch())
                         .count();
    if (count == 0) {
        db->wait_start_ms_ = now;
        if (db->busy_progress_ && db->busy_ms_ > 0) {
            db->busy_progress_->SetStatus(
                "Waiting for the song library: another program is using it");
            db->waiting_ = true;
        }
    }
    if (now - db->wait_start_ms_ >= db->busy_ms_) return 0;
    if (db->busy_progress_ && db->busy_progress_->StopRequested()) return 0;
    std::this_thread::sleep_for(std::chrono::milliseconds(count < 10 ? 2 : 20));
    return 1;
}

void Database::EndWait() {
    waiting_ = false;
    if (busy_progress_) busy_progress_->SetStatus("");
}

void Database::NoteError() {
    if (db_) last_error_ = sqlite3_errmsg(db_);
}

bool Database::InTransaction() const {
    return db_ && sqlite3_get_autocommit(db_) == 0;
}

void Database::Close() {
    if (db_) sqlite3_close_v2(db_);
    db_ = nullptr;
    lock_table_.clear();
}

bool Database::Exec(std::string_view cp932_sql) {
    if (!db_) {
        last_error_ = "the database is not open";
        return false;
    }
    std::string u = Cp932ToUtf8(cp932_sql);
    if (sqlite3_exec(db_, u.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK) {
        NoteError();
        return false;
    }
    if (waiting_) EndWait();
    return true;
}

Statement Database::Prepare(std::string_view cp932_sql) {
    Statement s;
    s.db_ = this;
    if (!db_) {
        last_error_ = "the database is not open";
        return s;
    }
    std::string u = Cp932ToUtf8(cp932_sql);
    if (sqlite3_prepare_v2(db_, u.c_str(), int(u.size()), &s.stmt_, nullptr) != SQLITE_OK) {
        NoteError();
        sqlite3_finalize(s.stmt_);
        s.stmt_ = nullptr;
    }
    return s;
}

std::int64_t Database::Changes() const {
    return db_ ? sqlite3_changes(db_) : 0;
}

}  // namespace qv5
