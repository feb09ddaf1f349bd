// The song list: every `song` row of the library read once into memory, with
// the rules of its filter and its sort. The song list window and the `songs`
// command share them, so that both show the same rows for the same filter.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/win_path.h"

namespace qv5 {

class SongLibrary;

// In the order the window shows them.
enum class SongColumn {
    Title,
    Artist,
    Genre,
    Level,
    ExLevel,
    Difficulty,
    Mode,
    Bpm,
    Notes,
    Added,
    Path,
    Lamp,
    Rate,
    Count
};
inline constexpr int kSongColumns = static_cast<int>(SongColumn::Count);

// The column's name on the command line ("title", "added", ...).
const char* ColumnKey(SongColumn column);
std::optional<SongColumn> ColumnByKey(std::string_view key);
// The order of the first click on a column: newest first for the date added,
// ascending for the others.
bool DescendingFirst(SongColumn column);
bool IsNumericColumn(SongColumn column);

// One chart; the texts lie in one block of the table's text store.
struct ListedSong {
    // The block, where title, subtitle, artist, subartist, genre and path
    // begin in it, and where the path ends. The texts are UTF-8 for display.
    std::uint32_t block = 0;
    std::uint32_t at[7] = {};
    std::int32_t level = 0, exlevel = 0, difficulty = -1, mode = 5;
    std::int32_t minbpm = 0, maxbpm = 0, notes = 0, adddate = 0;
    std::int16_t rate = -1;  // percent of the EX score; -1 when not played
    std::int8_t clear = 0;   // the score row's lamp, 0 when not played
    bool favorite = false;
};

enum class SongText { Title, Subtitle, Artist, Subartist, Genre, Path };

class SongTable {
  public:
    // Reads every song row of the library (with the player's scores and
    // tag.db attached, as SongLibrary::Open leaves it), each chart's tag row
    // laid over it as the information panel does. False (and an empty table)
    // when the song table cannot be read; `error` then says why.
    bool Load(SongLibrary& library, std::string* error = nullptr);

    size_t size() const { return size_; }
    const ListedSong& Row(size_t i) const { return rows_[i >> kRowShift][i & kRowMask]; }
    std::string_view Text(size_t i, SongText which) const;
    // The cell as the window shows it (UTF-8).
    std::string Cell(size_t i, SongColumn column) const;
    // The chart path as the program uses it (CP932).
    std::string ChartPath(size_t i) const;
    // The row of a chart path (CP932), or -1.
    std::ptrdiff_t Find(const WinPath& chart_path) const;
    // What the table holds in memory, in bytes.
    size_t MemoryBytes() const;

  private:
    // Rows and texts in blocks that are filled, never grown: growing one
    // array by doubling would copy and touch twice the memory, which on
    // opening the list costs as much as reading the rows.
    static constexpr size_t kRowShift = 12;
    static constexpr size_t kRowMask = (size_t{1} << kRowShift) - 1;
    static constexpr size_t kTextBlock = 1 << 20;
    void Clear();
    void Add(const ListedSong& row);

    std::vector<std::vector<ListedSong>> rows_;
    size_t size_ = 0;
    std::vector<std::string> texts_;
};

// The filter of the window and of the command.
struct SongFilter {
    // Words as typed (UTF-8): each must occur in the title, subtitle, artist,
    // subartist, genre or path, ignoring the case of ASCII letters and the
    // difference between full-width and half-width letters and digits.
    std::string words;
    std::int32_t mode = 0;  // 0: any
    std::optional<std::int32_t> level_min, level_max;
    std::int32_t difficulty = 0;  // 0: any; 1..5 BEGINNER..EX
    bool favorites = false;
    bool not_played = false;
    bool not_cleared = false;  // not played, or failed (lamp below EASY)
    // Added within `new_hours` hours of `now` (seconds since 1970).
    bool new_only = false;
    std::int32_t new_hours = 24;
    std::int64_t now = 0;
};

// Lower-cases ASCII letters and turns full-width letters and digits
// (U+FF10..U+FF19, U+FF21..U+FF3A, U+FF41..U+FF5A) into half-width ones.
void FoldForSearch(std::string_view utf8, std::string& out);
// The filter's words, folded; blanks (ASCII white space and U+3000) part them.
std::vector<std::string> SearchWords(std::string_view utf8);

// The library time `hours` hours before `now` (seconds since 1970), local time.
std::int32_t LibraryTimeHoursAgo(std::int32_t hours, std::int64_t now);
// "YYYY-MM-DD hh:mm" of a library time; empty for 0.
std::string LibraryTimeText(std::int32_t library_time);

// Every row, sorted by `column` (ties by path, so that the order is the same
// everywhere).
std::vector<std::uint32_t> SortedRows(const SongTable& table, SongColumn column, bool descending);
// The rows of `order` that pass `filter`, in that order.
std::vector<std::uint32_t> FilterRows(const SongTable& table,
                                      const std::vector<std::uint32_t>& order,
                                      const SongFilter& filter);

// "1 BEGINNER" .. "5 EX" without the number; empty for unknown.
const char* DifficultyName(std::int32_t difficulty);
// The information panel's names of the key mode ("7KEYS", "9BUTTONS") and of
// the clear lamp ("FAIL" .. "FULL COMBO", empty for none).
std::string ModeName(std::int32_t mode);
const char* ClearLampName(std::int32_t clear);

}  // namespace qv5
