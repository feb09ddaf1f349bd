#include "library/song_list.h"

#include <sqlite3.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <ctime>
#include <limits>
#include <memory>
#include <mutex>
#include <unordered_map>

#include "library/chart_header.h"
#include "library/display_text.h"
#include "library/encodings.h"
#include "library/song_library.h"
#include "platform/database.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "platform/text.h"

namespace qv5 {
namespace {

constexpr const char* kColumnKeys[kSongColumns] = {
    "title", "artist", "genre", "level", "exlevel", "difficulty", "mode",
    "bpm",   "notes",  "added", "path",  "lamp",    "rate"};

// The song rows, and the player's scores and the tag rows by hash. The
// tables are read one after another and joined in memory: a join in SQL
// would look up two attached indexes for each of 50,000 rows, which costs
// more than reading the rows. Unqualified table names, as the rest of the
// program uses them: the attached tag.db and player database.
constexpr const char* kSongQuery =
    "SELECT path,title,subtitle,artist,subartist,genre,level,exlevel,difficulty,mode,minbpm,"
    "maxbpm,karinotes,adddate,favorite,hash FROM song";
constexpr const char* kScoreQuery = "SELECT hash,clear,perfect,great,totalnotes FROM score";
constexpr const char* kTagQuery =
    "SELECT hash,title,subtitle,artist,subartist,genre,level,exlevel,difficulty,mode FROM tag";

bool IsBlank(std::string_view s, size_t i, size_t& length) {
    const auto c = static_cast<unsigned char>(s[i]);
    if (c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v') {
        length = 1;
        return true;
    }
    if (s.substr(i, 3) == "\xE3\x80\x80") {  // U+3000 IDEOGRAPHIC SPACE
        length = 3;
        return true;
    }
    return false;
}

int CompareFolded(std::string_view a, std::string_view b) {
    const size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        auto x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
        if (x >= 'A' && x <= 'Z') x = static_cast<unsigned char>(x + 32);
        if (y >= 'A' && y <= 'Z') y = static_cast<unsigned char>(y + 32);
        if (x != y) return x < y ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

// Days since 1970-01-01 to the civil date (proleptic Gregorian).
void CivilFromDays(std::int64_t z, std::int64_t& y, unsigned& m, unsigned& d) {
    z += 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const auto doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    y = static_cast<std::int64_t>(yoe) + era * 400;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    d = doy - (153 * mp + 2) / 5 + 1;
    m = mp < 10 ? mp + 3 : mp - 9;
    y += m <= 2;
}

}  // namespace

const char* ColumnKey(SongColumn column) {
    const int i = static_cast<int>(column);
    return i >= 0 && i < kSongColumns ? kColumnKeys[i] : "";
}

std::optional<SongColumn> ColumnByKey(std::string_view key) {
    for (int i = 0; i < kSongColumns; ++i)
        if (key == kColumnKeys[i]) return static_cast<SongColumn>(i);
    return std::nullopt;
}

bool DescendingFirst(SongColumn column) {
    return column == SongColumn::Added;
}

bool IsNumericColumn(SongColumn column) {
    switch (column) {
        case SongColumn::Title:
        case SongColumn::Artist:
        case SongColumn::Genre:
        case SongColumn::Path:
            return false;
        default:
            return true;
    }
}

const char* DifficultyName(std::int32_t difficulty) {
    static const char* const names[] = {"BEGINNER", "NORMAL", "HYPER", "ANOTHER", "EX"};
    return difficulty >= 1 && difficulty <= 5 ? names[difficulty - 1] : "";
}

std::string ModeName(std::int32_t mode) {
    return mode == 9 ? "9BUTTONS" : std::to_string(mode) + "KEYS";
}

const char* ClearLampName(std::int32_t clear) {
    static const char* const names[] = {"FAIL", "EASY", "CLEAR", "HARD CLEAR", "FULL COMBO"};
    return clear >= 1 && clear <= 5 ? names[clear - 1] : "";
}

namespace {

// The query's statement on the raw connection: the texts are kept as SQLite
// stores them (UTF-8), without the round trip through CP932 that
// Statement::Text makes for every column.
class RawQuery {
  public:
    RawQuery(sqlite3* db, const char* sql) {
        if (sqlite3_prepare_v2(db, sql, -1, &stmt_, nullptr) != SQLITE_OK) {
            sqlite3_finalize(stmt_);
            stmt_ = nullptr;
        }
    }
    ~RawQuery() { sqlite3_finalize(stmt_); }
    RawQuery(const RawQuery&) = delete;
    RawQuery& operator=(const RawQuery&) = delete;
    explicit operator bool() const { return stmt_ != nullptr; }
    int Step() { return sqlite3_step(stmt_); }
    std::int32_t Int(int col) const { return sqlite3_column_int(stmt_, col); }
    std::string_view Utf8(int col) const {
        const unsigned char* t = sqlite3_column_text(stmt_, col);
        if (!t) return {};
        return {reinterpret_cast<const char*>(t),
                static_cast<size_t>(sqlite3_column_bytes(stmt_, col))};
    }

  private:
    sqlite3_stmt* stmt_ = nullptr;
};

// The title, subtitle, artist, subartist and genre of a chart's header, as
// read (CP932).
using HeaderTexts = std::array<std::string, 5>;

// What the headers of the charts that lost bytes gave, kept for the life of
// the process: the list is read again after every tag save, play and
// refresh, and reading (and hashing) those charts each time cost several
// times the rest of the load. An entry holds for the chart's path, size and
// last-write time; a chart written again is read again. Loads on several
// threads share it.
class HeaderTextCache {
  public:
    // The header's texts; nullopt when the chart cannot be read.
    std::optional<HeaderTexts> Get(const std::string& chart_path) {
        const auto version = VersionOf(chart_path);
        if (!version) return std::nullopt;
        // The path is relative to the game folder, which may change.
        std::string key = ProgramDirectory();
        key += '\0';
        key += chart_path;
        {
            std::lock_guard lock(mutex_);
            const auto it = entries_.find(key);
            if (it != entries_.end() && it->second.version == *version) return it->second.texts;
        }
        std::optional<HeaderTexts> texts;
        ChartRecord header;
        if (ReadChartHeader(header, chart_path))
            texts = HeaderTexts{header.title, header.subtitle, header.artist, header.subartist,
                                header.genre};
        std::lock_guard lock(mutex_);
        // Such charts are a part of one library; many more than that are
        // paths of other game folders or of charts gone since.
        if (entries_.size() >= kMaxEntries && !entries_.contains(key)) entries_.clear();
        entries_.insert_or_assign(std::move(key), Entry{*version, texts});
        return texts;
    }

  private:
    static constexpr size_t kMaxEntries = size_t{1} << 16;
    struct Entry {
        FileVersion version;
        std::optional<HeaderTexts> texts;
    };
    std::mutex mutex_;
    std::unordered_map<std::string, Entry> entries_;
};

// `texts` (title, subtitle, artist, subartist, genre) as the library stored
// them; those that lost bytes take the chart header's text when it is theirs.
void RestoreFromHeader(const std::string& chart_path, std::string (&texts)[5]) {
    static HeaderTextCache cache;
    const std::optional<HeaderTexts> read = cache.Get(chart_path);
    if (!read) return;
    for (size_t k = 0; k < 5; ++k)
        if (LostBytes(texts[k]) && HeaderRestores(texts[k], (*read)[k])) texts[k] = (*read)[k];
}

}  // namespace

void SongTable::Clear() {
    rows_.clear();
    texts_.clear();
    size_ = 0;
}

void SongTable::Add(const ListedSong& row) {
    if (rows_.empty() || rows_.back().size() == kRowMask + 1) {
        rows_.emplace_back();
        rows_.back().reserve(kRowMask + 1);
    }
    rows_.back().push_back(row);
    ++size_;
}

bool SongTable::Load(SongLibrary& library, std::string* error) {
    Database& db = library.connection();
    Clear();
    auto fail = [&](std::string why) {
        if (error) *error = std::move(why);
        Clear();
        return false;
    };
    if (!db.handle()) return fail("the song library is not open");

    struct Score {
        std::int32_t clear, perfect, great, total;
    };
    std::unordered_map<std::string, Score> scores;
    {
        RawQuery q(db.handle(), kScoreQuery);  // none without a player: no scores
        int rc = SQLITE_DONE;
        while (q && (rc = q.Step()) == SQLITE_ROW)
            scores.emplace(std::string(q.Utf8(0)), Score{q.Int(1), q.Int(2), q.Int(3), q.Int(4)});
        if (rc != SQLITE_DONE) return fail(sqlite3_errmsg(db.handle()));
    }
    struct Tag {
        std::string texts[5];
        std::int32_t level, exlevel, difficulty, mode;
    };
    std::unordered_map<std::string, Tag> tags;
    {
        RawQuery q(db.handle(), kTagQuery);  // none when tag.db is not attached
        int rc = SQLITE_DONE;
        while (q && (rc = q.Step()) == SQLITE_ROW) {
            Tag t{{}, q.Int(6), q.Int(7), q.Int(8), q.Int(9)};
            for (int k = 0; k < 5; ++k) t.texts[k] = std::string(q.Utf8(1 + k));
            tags.insert_or_assign(std::string(q.Utf8(0)), std::move(t));
        }
        if (rc != SQLITE_DONE) return fail(sqlite3_errmsg(db.handle()));
    }

    RawQuery s(db.handle(), kSongQuery);
    if (!s) return fail(sqlite3_errmsg(db.handle()));
    int rc = SQLITE_ROW;
    std::string hash, row_text;
    while ((rc = s.Step()) == SQLITE_ROW) {
        hash.assign(s.Utf8(15));
        // Texts, levels, difficulty and mode: the tag row's when there is
        // one, as OverlayTagRow lays it over.
        const auto tag = tags.empty() ? tags.end() : tags.find(hash);
        const Tag* t = tag == tags.end() ? nullptr : &tag->second;
        ListedSong r;
        std::string_view stored[5];
        bool lost = false;
        for (int k = 0; k < 5; ++k) {
            stored[k] = t ? std::string_view(t->texts[k]) : s.Utf8(1 + k);
            lost = lost || (!t && LostBytes(stored[k]));
        }
        // The row's texts, one after another, then into a block with room.
        row_text.clear();
        if (lost) {
            // A UTF-8 chart whose bytes the library could not keep: its
            // header holds them (read only for such rows, which are few).
            std::string texts[5];
            for (int k = 0; k < 5; ++k) texts[k] = DisplayTextOfStored(stored[k]);
            RestoreFromHeader(Utf8ToCp932Lossy(s.Utf8(0)), texts);
            for (int k = 0; k < 5; ++k) {
                r.at[k] = static_cast<std::uint32_t>(row_text.size());
                row_text += texts[k];
            }
        } else {
            for (int k = 0; k < 5; ++k) {
                r.at[k] = static_cast<std::uint32_t>(row_text.size());
                AppendDisplayTextOfStored(stored[k], row_text);
            }
        }
        // The path is a file name from the disk: always Shift-JIS.
        r.at[5] = static_cast<std::uint32_t>(row_text.size());
        row_text += s.Utf8(0);
        if (row_text.size() > std::numeric_limits<std::uint32_t>::max() / 2)
            return fail("the library's texts do not fit in memory");
        r.at[6] = static_cast<std::uint32_t>(row_text.size());
        if (texts_.empty() || texts_.back().capacity() - texts_.back().size() < row_text.size()) {
            texts_.emplace_back();
            texts_.back().reserve(std::max(kTextBlock, row_text.size()));
        }
        r.block = static_cast<std::uint32_t>(texts_.size() - 1);
        const auto base = static_cast<std::uint32_t>(texts_.back().size());
        texts_.back() += row_text;
        for (std::uint32_t& at : r.at) at += base;
        const std::int32_t song_mode = s.Int(9);
        r.level = t ? t->level : s.Int(6);
        r.exlevel = t ? t->exlevel : s.Int(7);
        r.difficulty = t ? t->difficulty : s.Int(8);
        r.mode = t ? t->mode : song_mode;
        r.minbpm = s.Int(10);
        r.maxbpm = s.Int(11);
        r.notes = s.Int(12);
        r.adddate = s.Int(13);
        r.favorite = s.Int(14) != 0;
        // The information panel's score line: played when the lamp and the
        // note count are set (a score is looked up for a chart of a mode).
        const auto score = scores.empty() ? scores.end() : scores.find(hash);
        if (score != scores.end() && song_mode > 0 && score->second.clear >= 1 &&
            score->second.total >= 1) {
            const Score& c = score->second;
            const std::int64_t ex = 2 * std::int64_t{c.perfect} + c.great;
            const std::int64_t rate = ex * 100 / (2 * std::int64_t{c.total});
            r.rate = static_cast<std::int16_t>(std::clamp<std::int64_t>(rate, 0, 32767));
            r.clear = static_cast<std::int8_t>(std::clamp<std::int32_t>(c.clear, 0, 127));
        }
        Add(r);
    }
    // A library locked past the busy wait, or a failed read: no half list.
    if (rc != SQLITE_DONE) return fail(sqlite3_errmsg(db.handle()));
    // The last blocks give back what they did not use (copies of less than
    // a block each).
    if (!rows_.empty()) rows_.back().shrink_to_fit();
    if (!texts_.empty()) texts_.back().shrink_to_fit();
    return true;
}

std::string_view SongTable::Text(size_t i, SongText which) const {
    const ListedSong& r = Row(i);
    const auto k = static_cast<size_t>(which);
    return std::string_view(texts_[r.block]).substr(r.at[k], r.at[k + 1] - r.at[k]);
}

std::string SongTable::Cell(size_t i, SongColumn column) const {
    const ListedSong& r = Row(i);
    auto joined = [&](SongText a, SongText b, const char* between) {
        std::string text(Text(i, a));
        if (!Text(i, b).empty()) text.append(between).append(Text(i, b));
        return text;
    };
    switch (column) {
        case SongColumn::Title:
            return joined(SongText::Title, SongText::Subtitle, " ");
        case SongColumn::Artist:
            return joined(SongText::Artist, SongText::Subartist, "/");
        case SongColumn::Genre:
            return std::string(Text(i, SongText::Genre));
        case SongColumn::Level:
            return "\xE2\x98\x86" + std::to_string(r.level);  // ☆
        case SongColumn::ExLevel:
            return r.exlevel < 1 ? std::string() : "\xE2\x98\x85" + std::to_string(r.exlevel);  // ★
        case SongColumn::Difficulty:
            return DifficultyName(r.difficulty);
        case SongColumn::Mode:
            return ModeName(r.mode);
        case SongColumn::Bpm:
            return r.minbpm == r.maxbpm || r.minbpm <= 0
                       ? std::to_string(r.maxbpm)
                       : std::to_string(r.minbpm) + "\xE2\x80\x93" + std::to_string(r.maxbpm);  // –
        case SongColumn::Notes:
            return std::to_string(r.notes);
        case SongColumn::Added:
            return LibraryTimeText(r.adddate);
        case SongColumn::Path:
            return std::string(Text(i, SongText::Path));
        case SongColumn::Lamp:
            return ClearLampName(r.clear);
        case SongColumn::Rate:
            return r.rate < 0 ? std::string() : std::to_string(r.rate) + "%";
        case SongColumn::Count:
            break;
    }
    return {};
}

std::string SongTable::ChartPath(size_t i) const {
    // Statement::Text's conversion: the path reads back as the scanner stored it.
    return Utf8ToCp932Lossy(Text(i, SongText::Path));
}

std::ptrdiff_t SongTable::Find(const WinPath& chart_path_path) const {
    const std::string& chart_path = chart_path_path.text();
    const std::string stored = Cp932ToUtf8(chart_path);
    for (size_t i = 0; i < size_; ++i)
        if (Text(i, SongText::Path) == stored) return static_cast<std::ptrdiff_t>(i);
    return -1;
}

size_t SongTable::MemoryBytes() const {
    size_t bytes =
        sizeof *this + rows_.capacity() * sizeof(rows_[0]) + texts_.capacity() * sizeof(texts_[0]);
    for (const auto& block : rows_) bytes += block.capacity() * sizeof(ListedSong);
    for (const std::string& block : texts_) bytes += block.capacity();
    return bytes;
}

void FoldForSearch(std::string_view s, std::string& out) {
    out.reserve(out.size() + s.size());
    for (size_t i = 0; i < s.size(); ++i) {
        auto c = static_cast<unsigned char>(s[i]);
        if (c < 0x80) {
            out += static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
            continue;
        }
        // U+FF10..U+FF5A: EF BC 90..BF, EF BD 80..9A.
        if (c == 0xEF && i + 2 < s.size()) {
            const auto b1 = static_cast<unsigned char>(s[i + 1]);
            const auto b2 = static_cast<unsigned char>(s[i + 2]);
            unsigned cp = 0;
            if (b1 == 0xBC && b2 >= 0x80 && b2 <= 0xBF) cp = 0xFF00 + (b2 - 0x80);
            if (b1 == 0xBD && b2 >= 0x80 && b2 <= 0xBF) cp = 0xFF40 + (b2 - 0x80);
            char half = 0;
            if (cp >= 0xFF10 && cp <= 0xFF19) half = static_cast<char>('0' + (cp - 0xFF10));
            if (cp >= 0xFF21 && cp <= 0xFF3A) half = static_cast<char>('a' + (cp - 0xFF21));
            if (cp >= 0xFF41 && cp <= 0xFF5A) half = static_cast<char>('a' + (cp - 0xFF41));
            if (half) {
                out += half;
                i += 2;
                continue;
            }
        }
        out += static_cast<char>(c);
    }
}

std::vector<std::string> SearchWords(std::string_view s) {
    std::vector<std::string> words;
    std::string word;
    for (size_t i = 0; i < s.size();) {
        size_t length = 0;
        if (IsBlank(s, i, length)) {
            if (!word.empty()) words.push_back(std::move(word));
            word.clear();
            i += length;
        } else {
            word += s[i++];
        }
    }
    if (!word.empty()) words.push_back(std::move(word));
    for (std::string& w : words) {
        std::string folded;
        FoldForSearch(w, folded);
        w = std::move(folded);
    }
    return words;
}

std::int32_t LibraryTimeHoursAgo(std::int32_t hours, std::int64_t now) {
    const std::time_t then = static_cast<std::time_t>(now - std::int64_t{hours} * 3600);
    std::tm tm{};
    if (!localtime_r(&then, &tm)) return 0;
    return LibraryTime(
        FileTime{tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec});
}

std::string LibraryTimeText(std::int32_t value) {
    if (value == 0) return {};
    // LibraryTime gives whole seconds since 1601 of the year shifted back by
    // 369 years, less 0.0131071 s for every 2^32 hundred nanoseconds (the
    // factor 429.4836225 in place of 429.4967296): undo that drift, then read
    // the calendar and shift the year forward again.
    const auto v = static_cast<std::int64_t>(static_cast<std::uint32_t>(value));
    std::int64_t seconds = v;
    for (int k = 0; k < 3; ++k) {
        const std::int64_t high = seconds * 10000000 / (std::int64_t{1} << 32);
        seconds = v + (high * 131071 + 5000000) / 10000000;
    }
    // 1601-01-01 is 134774 days before 1970-01-01.
    const std::int64_t days = seconds / 86400 - 134774;
    const std::int64_t rest = seconds % 86400;
    std::int64_t y = 0;
    unsigned m = 0, d = 0;
    CivilFromDays(days, y, m, d);
    char text[40];
    std::snprintf(text, sizeof text, "%04lld-%02u-%02u %02lld:%02lld",
                  static_cast<long long>(y + 369), m, d, static_cast<long long>(rest / 3600),
                  static_cast<long long>(rest % 3600 / 60));
    return text;
}

std::vector<std::uint32_t> SortedRows(const SongTable& table, SongColumn column, bool descending) {
    std::vector<std::uint32_t> order(table.size());
    for (size_t i = 0; i < order.size(); ++i) order[i] = static_cast<std::uint32_t>(i);
    auto path = [&](std::uint32_t i) { return table.Text(i, SongText::Path); };
    // A negative, zero or positive comparison of two rows by the column.
    auto compare = [&](std::uint32_t a, std::uint32_t b) -> int {
        const ListedSong& x = table.Row(a);
        const ListedSong& y = table.Row(b);
        auto number = [](std::int64_t p, std::int64_t q) { return p < q ? -1 : (p > q ? 1 : 0); };
        auto text = [&](SongText first, SongText second) {
            const int c = CompareFolded(table.Text(a, first), table.Text(b, first));
            return c != 0 ? c : CompareFolded(table.Text(a, second), table.Text(b, second));
        };
        switch (column) {
            case SongColumn::Title:
                return text(SongText::Title, SongText::Subtitle);
            case SongColumn::Artist:
                return text(SongText::Artist, SongText::Subartist);
            case SongColumn::Genre:
                return text(SongText::Genre, SongText::Genre);
            case SongColumn::Level:
                return number(x.level, y.level);
            case SongColumn::ExLevel:
                return number(x.exlevel, y.exlevel);
            case SongColumn::Difficulty:
                return number(x.difficulty, y.difficulty);
            case SongColumn::Mode:
                return number(x.mode, y.mode);
            case SongColumn::Bpm: {
                const int c = number(x.maxbpm, y.maxbpm);
                return c != 0 ? c : number(x.minbpm, y.minbpm);
            }
            case SongColumn::Notes:
                return number(x.notes, y.notes);
            case SongColumn::Added:
                return number(static_cast<std::uint32_t>(x.adddate),
                              static_cast<std::uint32_t>(y.adddate));
            case SongColumn::Path:
                return 0;
            case SongColumn::Lamp:
                return number(x.clear, y.clear);
            case SongColumn::Rate:
                return number(x.rate, y.rate);
            case SongColumn::Count:
                break;
        }
        return 0;
    };
    std::sort(order.begin(), order.end(), [&](std::uint32_t a, std::uint32_t b) {
        int c = compare(a, b);
        if (descending) c = -c;
        if (c != 0) return c < 0;
        // Ties (and the path column) by the path bytes, in the chosen direction.
        const int p = path(a).compare(path(b));
        if (p != 0) return descending ? p > 0 : p < 0;
        return a < b;
    });
    return order;
}

std::vector<std::uint32_t> FilterRows(const SongTable& table,
                                      const std::vector<std::uint32_t>& order,
                                      const SongFilter& f) {
    const std::vector<std::string> words = SearchWords(f.words);
    const std::int32_t since = f.new_only ? LibraryTimeHoursAgo(f.new_hours, f.now) : 0;
    std::vector<std::uint32_t> rows;
    rows.reserve(order.size());
    std::string folded;
    for (std::uint32_t i : order) {
        const ListedSong& r = table.Row(i);
        if (f.mode != 0 && r.mode != f.mode) continue;
        if (f.level_min && r.level < *f.level_min) continue;
        if (f.level_max && r.level > *f.level_max) continue;
        if (f.difficulty != 0 && r.difficulty != f.difficulty) continue;
        if (f.favorites && !r.favorite) continue;
        if (f.not_played && r.rate >= 0) continue;
        if (f.not_cleared && r.clear >= 2) continue;
        if (f.new_only && static_cast<std::uint32_t>(r.adddate) < static_cast<std::uint32_t>(since))
            continue;
        if (!words.empty()) {
            // The six texts lie one after another in the store; a word is
            // kept from matching across two of them by a line break.
            folded.clear();
            for (int k = 0; k < 6; ++k) {
                FoldForSearch(table.Text(i, static_cast<SongText>(k)), folded);
                folded += '\n';
            }
            bool all = true;
            for (const std::string& w : words)
                if (folded.find(w) == std::string::npos) {
                    all = false;
                    break;
                }
            if (!all) continue;
        }
        rows.push_back(i);
    }
    return rows;
}

}  // namespace qv5
