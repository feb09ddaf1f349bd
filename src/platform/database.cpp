#include "platform/database.h"

#include <sqlite3.h>

#include <cstdarg>

#include "platform/paths.h"
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
        o.stmt_ = nullptr;
    }
    return *this;
}

Statement::~Statement() {
    sqlite3_finalize(stmt_);
}

bool Statement::Step() {
    return stmt_ && sqlite3_step(stmt_) == SQLITE_ROW;
}

void Statement::Reset() {
    if (!stmt_) return;
    sqlite3_reset(stmt_);
    sqlite3_clear_bindings(stmt_);
}

std::int32_t Statement::Int(int col) const {
    return sqlite3_column_int(stmt_, col);
}
std::int64_t Statement::Int64(int col) const {
    return sqlite3_column_int64(stmt_, col);
}
bool Statement::IsNull(int col) const {
    return sqlite3_column_type(stmt_, col) == SQLITE_NULL;
}

std::string Statement::Text(int col) const {
    const unsigned char* t = sqlite3_column_text(stmt_, col);
    if (!t) return std::string();
    int n = sqlite3_column_bytes(stmt_, col);
    return Utf8ToCp932Lossy(std::string_view(reinterpret_cast<const char*>(t), size_t(n)));
}

void Statement::Bind(int index, std::string_view cp932) {
    std::string u = Cp932ToUtf8(cp932);
    sqlite3_bind_text(stmt_, index, u.data(), int(u.size()), SQLITE_TRANSIENT);
}

void Statement::BindRaw(int index, std::string_view bytes) {
    sqlite3_bind_text(stmt_, index, bytes.data(), int(bytes.size()), SQLITE_TRANSIENT);
}

void Statement::Bind(int index, std::int64_t value) {
    sqlite3_bind_int64(stmt_, index, value);
}

bool Statement::Run() {
    if (!stmt_) return false;
    int rc = sqlite3_step(stmt_);
    sqlite3_reset(stmt_);
    return rc == SQLITE_DONE || rc == SQLITE_ROW;
}

bool Database::Open(std::string_view path, Mode mode) {
    Close();
    auto host = ToHostPath(path);
    if (!host) return false;
    int flags = SQLITE_OPEN_READWRITE | (mode == Mode::OpenOrCreate ? SQLITE_OPEN_CREATE : 0);
    if (sqlite3_open_v2(host->c_str(), &db_, flags, nullptr) != SQLITE_OK) {
        sqlite3_close(db_);
        db_ = nullptr;
        return false;
    }
    // The game body reads these files with an old SQLite: keep the rollback journal.
    sqlite3_exec(db_, "PRAGMA journal_mode=DELETE", nullptr, nullptr, nullptr);
    return true;
}

void Database::Close() {
    if (db_) sqlite3_close_v2(db_);
    db_ = nullptr;
}

bool Database::Exec(std::string_view cp932_sql) {
    if (!db_) return false;
    std::string u = Cp932ToUtf8(cp932_sql);
    return sqlite3_exec(db_, u.c_str(), nullptr, nullptr, nullptr) == SQLITE_OK;
}

Statement Database::Prepare(std::string_view cp932_sql) {
    Statement s;
    if (!db_) return s;
    std::string u = Cp932ToUtf8(cp932_sql);
    if (sqlite3_prepare_v2(db_, u.c_str(), int(u.size()), &s.stmt_, nullptr) != SQLITE_OK) {
        sqlite3_finalize(s.stmt_);
        s.stmt_ = nullptr;
    }
    return s;
}

std::int64_t Database::Changes() const {
    return db_ ? sqlite3_changes(db_) : 0;
}

}  // namespace qv5
