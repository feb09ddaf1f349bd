// A thin SQLite layer: statements are built as CP932 text with SQLite's own
// formatting (%q, %d) and converted whole to UTF-8; text columns come back as
// CP932, NULL as empty text.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

struct sqlite3;
struct sqlite3_stmt;

namespace qv5 {

// sqlite3_mprintf into a std::string (CP932 in, CP932 out).
std::string SqlFormat(const char* format, ...);

class Statement {
  public:
    Statement() = default;
    Statement(Statement&& o) noexcept : stmt_(o.stmt_) { o.stmt_ = nullptr; }
    Statement& operator=(Statement&& o) noexcept;
    ~Statement();

    explicit operator bool() const { return stmt_ != nullptr; }
    // True while a row is available.
    bool Step();
    void Reset();
    std::int32_t Int(int col) const;
    std::int64_t Int64(int col) const;
    std::string Text(int col) const;  // CP932
    bool IsNull(int col) const;
    // Parameters count from 1. Text is CP932.
    void Bind(int index, std::string_view cp932);
    void Bind(int index, std::int64_t value);
    // Binds bytes as they are (already UTF-8, or a bound for comparisons).
    void BindRaw(int index, std::string_view bytes);
    // Runs a prepared statement that returns no rows; true on success.
    bool Run();

  private:
    friend class Database;
    sqlite3_stmt* stmt_ = nullptr;
};

class Database {
  public:
    enum class Mode { OpenOrCreate, OpenExisting };

    Database() = default;
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;
    ~Database() { Close(); }

    // `path` is an internal path.
    bool Open(std::string_view path, Mode mode = Mode::OpenOrCreate);
    void Close();
    bool IsOpen() const { return db_ != nullptr; }
    sqlite3* handle() const { return db_; }

    // Executes CP932 statement text; true on success. Failures are silent.
    bool Exec(std::string_view cp932_sql);
    Statement Prepare(std::string_view cp932_sql);
    std::int64_t Changes() const;

  private:
    sqlite3* db_ = nullptr;
};

}  // namespace qv5
