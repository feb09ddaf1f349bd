// A thin SQLite layer: statements are built as CP932 text with SQLite's own
// formatting (%q, %d) and converted whole to UTF-8; text columns come back as
// CP932, NULL as empty text.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>

struct sqlite3;
struct sqlite3_stmt;

namespace qv5 {

class Database;
class Progress;

// sqlite3_mprintf into a std::string (CP932 in, CP932 out).
std::string SqlFormat(const char* format, ...);

class Statement {
  public:
    Statement() = default;
    Statement(Statement&& o) noexcept : stmt_(o.stmt_), db_(o.db_), last_rc_(o.last_rc_) {
        o.stmt_ = nullptr;
    }
    Statement& operator=(Statement&& o) noexcept;
    ~Statement();

    explicit operator bool() const { return stmt_ != nullptr; }
    // True while a row is available. A loop that ends on an error (the
    // library busy, a failed read) leaves Failed() true.
    bool Step();
    bool Failed() const;
    void Reset();
    std::int32_t Int(int col) const;
    std::int64_t Int64(int col) const;
    std::string Text(int col) const;  // CP932
    int Columns() const;              // the number of columns a row has
    bool IsNull(int col) const;
    // The statement has this column (0-based) / this parameter (1-based).
    // Reads and binds check them in debug builds.
    bool HasColumn(int col) const;
    bool HasParameter(int index) const;
    // Parameters count from 1. Text is CP932.
    void Bind(int index, std::string_view cp932);
    void Bind(int index, std::int64_t value);
    // Binds bytes as they are (already UTF-8, or a bound for comparisons).
    void BindRaw(int index, std::string_view bytes);
    // Runs a prepared statement that returns no rows; true on success. A
    // failure leaves its text in the database's LastError().
    bool Run();
    // As Run, with SQLite's result code (SQLITE_DONE on success; a statement
    // that could not be prepared gives SQLITE_ERROR).
    int Execute();
    // Binds a whole row, parameters 1..N in order, and runs the statement.
    // False (nothing run) when N is not the statement's parameter count.
    template <typename... Values>
    int ExecuteRow(const Values&... values);

  private:
    friend class Database;
    bool CheckCount(int n);
    template <typename T>
    void BindValue(int index, const T& value) {
        if constexpr (std::is_integral_v<T>)
            Bind(index, std::int64_t{value});
        else
            Bind(index, std::string_view(value));
    }
    sqlite3_stmt* stmt_ = nullptr;
    Database* db_ = nullptr;
    int last_rc_ = 0;
};

template <typename... Values>
int Statement::ExecuteRow(const Values&... values) {
    if (!CheckCount(int(sizeof...(Values)))) return 1;  // SQLITE_ERROR
    int index = 0;
    (BindValue(++index, values), ...);
    return Execute();
}

// The columns a SELECT reads, named once: the statement's column list is made
// from it and a read names its column, which is looked up when the program is
// compiled, so a misspelt or missing name does not build and no read depends
// on a count of positions.
//
//   static constexpr ColumnList kCols{"title", "score.clear"};
//   Statement s = db.Prepare("SELECT " + kCols.Text() + " FROM ...");
//   s.Text(kCols["title"]);
template <std::size_t N>
struct ColumnList {
    std::array<std::string_view, N> names;

    template <typename... Names>
    constexpr explicit ColumnList(Names... n) : names{std::string_view(n)...} {}

    consteval int operator[](std::string_view name) const {
        for (std::size_t i = 0; i < N; ++i)
            if (names[i] == name) return static_cast<int>(i);
        throw "no such column in the list";  // not a constant: the read does not build
    }
    std::string Text() const {
        std::string text;
        for (std::string_view name : names) {
            if (!text.empty()) text += ',';
            text += name;
        }
        return text;
    }
};
template <typename... Names>
ColumnList(Names...) -> ColumnList<sizeof...(Names)>;

class Database {
  public:
    // ReadOnly: an existing file, never written (not even its journal mode).
    enum class Mode { OpenOrCreate, OpenExisting, ReadOnly };

    Database() = default;
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;
    ~Database() { Close(); }

    // `path` is an internal path.
    bool Open(std::string_view path, Mode mode = Mode::OpenOrCreate);
    void Close();
    bool IsOpen() const { return db_ != nullptr; }
    sqlite3* handle() const { return db_; }

    // Executes CP932 statement text; true on success. A failure leaves its
    // text in LastError(); callers that expect failures ignore it.
    bool Exec(std::string_view cp932_sql);
    Statement Prepare(std::string_view cp932_sql);
    std::int64_t Changes() const;
    // True inside BEGIN ... COMMIT.
    bool InTransaction() const;

    // SQLite's message for the last failure on this connection (UTF-8).
    const std::string& LastError() const { return last_error_; }
    void NoteError();
    void NoteError(std::string text) { last_error_ = std::move(text); }

    // While another program (the game body) holds the library, statements
    // wait up to this long before they fail with "database is locked". The
    // wait is told on `progress` (may be null), which can also cut it short.
    static constexpr int kDefaultBusyMilliseconds = 30000;
    void SetBusyTimeout(int milliseconds) { busy_ms_ = milliseconds; }
    void SetBusyProgress(Progress* progress) { busy_progress_ = progress; }
    Progress* busy_progress() const { return busy_progress_; }

    // A table of the main database whose write lock a transaction takes at
    // its start instead of every attached database's: the others join only
    // when written, so a commit that changed the main file alone needs no
    // super-journal. Empty (the default): BEGIN IMMEDIATE locks them all.
    void SetLockTable(std::string table) { lock_table_ = std::move(table); }
    const std::string& lock_table() const { return lock_table_; }

  private:
    friend class Statement;
    static int OnBusy(void* self, int count);
    void EndWait();

    sqlite3* db_ = nullptr;
    std::string last_error_;
    std::string lock_table_;
    int busy_ms_ = kDefaultBusyMilliseconds;
    Progress* busy_progress_ = nullptr;
    bool waiting_ = false;
    std::int64_t wait_start_ms_ = 0;
};

// Waits on `db` are told on `progress` while this lives (an operation that
// is given a progress sets it for its duration; a nested one keeps the outer).
class BusyReporting {
  public:
    BusyReporting(Database& db, Progress* progress) : db_(db), old_(db.busy_progress()) {
        if (progress) db.SetBusyProgress(progress);
    }
    ~BusyReporting() { db_.SetBusyProgress(old_); }
    BusyReporting(const BusyReporting&) = delete;
    BusyReporting& operator=(const BusyReporting&) = delete;

  private:
    Database& db_;
    Progress* old_;
};

}  // namespace qv5
