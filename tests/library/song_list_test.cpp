// The song list's rules on a real library in a temporary game folder.
#include "library/song_list.h"

#include <gtest/gtest.h>

#include <chrono>
#include <ctime>
#include <filesystem>

#include "library/display_text.h"
#include "library/encodings.h"
#include "library/scanner.h"
#include "library/song_library.h"
#include "platform/database.h"
#include "platform/text.h"
#include "support/players.h"
#include "support/temp_game.h"
#include "support/test_library.h"

namespace qv5 {
namespace {

std::string U8(const char8_t* s) {
    return reinterpret_cast<const char*>(s);
}

// A song row; the texts in UTF-8.
struct Song {
    std::string path, title, subtitle, artist, subartist, genre;
    int level, exlevel, difficulty, mode, bpm, notes;
    std::int32_t adddate;
    int favorite;
};

class SongListTest : public ::testing::Test {
  protected:
    void SetUp() override {
        test::MakePlayer("player", "pass");
        OpenTestLibrary("player");
    }
    void TearDown() override { CloseTestLibrary(); }

    void Add(std::string path, std::string title, std::string subtitle = "",
             std::string artist = "", std::string subartist = "", std::string genre = "",
             int level = 1, int exlevel = 0, int difficulty = -1, int mode = 7, int bpm = 150,
             int notes = 100, std::int32_t adddate = 1, int favorite = 0) {
        const Song s{path,    title,      subtitle, artist, subartist, genre,   level,
                     exlevel, difficulty, mode,     bpm,    notes,     adddate, favorite};
        Statement st = TestDb().Prepare(
            "INSERT INTO song (hash,path,title,subtitle,artist,subartist,genre,level,exlevel,"
            "difficulty,mode,minbpm,maxbpm,karinotes,adddate,favorite) "
            "VALUES(?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)");
        ASSERT_EQ(st.ExecuteRow("h" + s.path, Sj8(s.path), Sj8(s.title), Sj8(s.subtitle),
                                Sj8(s.artist), Sj8(s.subartist), Sj8(s.genre), s.level, s.exlevel,
                                s.difficulty, s.mode, s.bpm, s.bpm, s.notes, s.adddate, s.favorite),
                  101);  // SQLITE_DONE
    }
    void Score(const std::string& path, int clear, int perfect, int great, int notes) {
        ASSERT_TRUE(TestDb().Exec(SqlFormat(
            "INSERT INTO score (hash,clear,perfect,great,totalnotes) VALUES('%q',%d,%d,%d,%d)",
            ("h" + path).c_str(), clear, perfect, great, notes)));
    }
    static std::string Sj8(const std::string& utf8) { return Utf8ToCp932Lossy(utf8); }
    // The titles of the rows `filter` lets through, in title order.
    std::vector<std::string> Shown(const SongFilter& filter, SongColumn column = SongColumn::Title,
                                   bool descending = false) {
        SongTable table;
        EXPECT_TRUE(table.Load(TestLibrary()));
        std::vector<std::string> out;
        for (auto row : FilterRows(table, SortedRows(table, column, descending), filter))
            out.emplace_back(table.Text(row, SongText::Title));
        return out;
    }

    test::TempGame game;
};

using Titles = std::vector<std::string>;

// Real titles of both kinds, written into chart files as they are and
// registered: each shows as written, never as mojibake.
TEST_F(SongListTest, ChartsInShiftJisAndInUtf8ShowTheirTitles) {
    const std::string sjis[] = {U8(u8"千本桜"),
                                U8(u8"ｶﾞｰﾙﾌﾚﾝﾄﾞ"),
                                U8(u8"ﾃｽ"),
                                U8(u8"Ａ列車で行こう"),
                                U8(u8"ＦＲＥＥＤＯＭ ＤｉＶＥ↓"),
                                U8(u8"えれくとりっく・えんじぇぅ"),
                                U8(u8"☆彡"),
                                U8(u8"ｺﾝﾄﾗﾃﾞｨｸｼｮﾝ")};
    const std::string utf8[] = {U8(u8"千本桜"),
                                U8(u8"新世界より"),
                                U8(u8"恋愛サーキュレーション"),
                                U8(u8"Pokémon"),
                                U8(u8"ÇA PLANE"),
                                U8(u8"ぼくらの16bit戦争"),
                                U8(u8"チルノのパーフェクトさんすう教室"),
                                U8(u8"東方萃夢想")};
    std::vector<std::string> want;
    int n = 10;  // two digits: the path order is the written order
    for (const std::string& t : sjis) {
        game.WriteFile("songs/s" + std::to_string(n++) + ".bms",
                       "#TITLE " + Utf8ToCp932Lossy(t) + "\r\n#00111:01\r\n");
        want.push_back(t);
    }
    for (const std::string& t : utf8) {
        game.WriteFile("songs/u" + std::to_string(n++) + ".bms",
                       "#TITLE " + t + "\r\n#00111:01\r\n");
        want.push_back(t);
    }
    ASSERT_TRUE(TestRegisterRoot("songs\\"));
    SongTable table;
    ASSERT_TRUE(table.Load(TestLibrary()));
    std::vector<std::string> shown;
    for (auto row : SortedRows(table, SongColumn::Path, false))
        shown.emplace_back(table.Text(row, SongText::Title));
    // The paths in order are the charts as written.
    EXPECT_EQ(shown, want);
    // The information panel's line reads the same way.
    EXPECT_EQ(DisplayText("[TITLE] " + Utf8ToCp932Lossy(sjis[1])), "[TITLE] " + sjis[1]);
    EXPECT_EQ(DisplayText("[TITLE] " + utf8[1]), "[TITLE] " + utf8[1]);
}

// A chart whose title lost bytes is read for the first load only; later
// loads take what it gave until the file's size or time changes.
TEST_F(SongListTest, AChartThatLostBytesIsReadAgainOnlyWhenItsFileChanged) {
    const std::string title = U8(u8"새로운 세계");
    ASSERT_TRUE(LostBytes(Cp932ToUtf8(title)));
    auto chart = [](const std::string& t) { return "#TITLE " + t + "\r\n#00111:01\r\n"; };
    // Each chart is written again with another title, then given its old
    // time again or a later one.
    const struct {
        std::string file, bytes;
        int later_seconds;
        bool read_again;
    } cases[] = {
        {"same.bms", chart(std::string(title.size(), 'x')), 0, false},
        {"later.bms", chart(std::string(title.size(), 'x')), 1, true},
        {"larger.bms", chart(std::string(title.size() + 1, 'x')), 0, true},
    };
    for (const auto& c : cases) game.WriteFile("songs/" + c.file, chart(title));
    ASSERT_TRUE(TestRegisterRoot("songs\\"));
    auto shown = [&](const std::string& file) {
        SongTable table;
        EXPECT_TRUE(table.Load(TestLibrary()));
        const std::ptrdiff_t row = table.Find(WinPath("songs").Join(file));
        return row < 0 ? "(no row)" : std::string(table.Text(size_t(row), SongText::Title));
    };
    for (const auto& c : cases) ASSERT_EQ(shown(c.file), title) << c.file;
    for (const auto& c : cases) {
        const std::string host = game.HostPath("songs/" + c.file);
        const auto time = std::filesystem::last_write_time(host);
        game.WriteFile("songs/" + c.file, c.bytes);
        std::filesystem::last_write_time(host, time + std::chrono::seconds(c.later_seconds));
    }
    // Read again, the chart's title is no longer the one stored: the stored
    // text shows.
    const std::string stored = DisplayTextOfStored(Cp932ToUtf8(title));
    for (const auto& c : cases) EXPECT_EQ(shown(c.file), c.read_again ? stored : title) << c.file;
}

TEST_F(SongListTest, WordsMatchAnyTextIgnoringCaseAndWidth) {
    Add("songs\\a\\1.bms", "Freedom Dive", "[ANOTHER]", "xi", "", "Hardcore");
    Add("songs\\b\\2.bms", U8(u8"ＡＬＬＥＮ 第二"), "", U8(u8"ｓｙｎｔｈ"), "obj: KAZU", "Trance");
    Add("songs\\c\\3.bms", U8(u8"千本桜"), "", U8(u8"黒うさP"), "", "J-POP");
    const struct {
        std::string words;
        Titles want;
    } cases[] = {
        {"freedom", {"Freedom Dive"}},
        {"FREEDOM dive", {"Freedom Dive"}},         // several words, any case
        {"dive hardcore", {"Freedom Dive"}},        // title and genre
        {"dive trance", {}},                        // every word must match
        {"allen", {U8(u8"ＡＬＬＥＮ 第二")}},       // full-width in the title
        {"ＳＹＮＴＨ", {U8(u8"ＡＬＬＥＮ 第二")}},  // full-width typed, any case
        {"kazu", {U8(u8"ＡＬＬＥＮ 第二")}},        // subartist
        {"[another]", {"Freedom Dive"}},            // subtitle
        {U8(u8"千本"), {U8(u8"千本桜")}},           // Japanese
        {U8(u8"桜　黒うさ"), {U8(u8"千本桜")}},     // ideographic space parts words
        {"songs\\c", {U8(u8"千本桜")}},             // path
        {"", {"Freedom Dive", U8(u8"千本桜"), U8(u8"ＡＬＬＥＮ 第二")}},  // by bytes
    };
    for (const auto& c : cases) {
        SongFilter f;
        f.words = c.words;
        EXPECT_EQ(Shown(f), c.want) << c.words;
    }
}

TEST_F(SongListTest, EachColumnSortsByItsValue) {
    Add("songs\\1.bms", "b", "", "Z", "", "pop", 3, 0, 2, 7, 200, 500, 300);
    Add("songs\\2.bms", "C", "", "x", "", "Rock", 12, 2, 4, 5, 90, 1000, 100);
    Add("songs\\3.bms", "a", "", "y", "", "jazz", 1, 1, 1, 14, 150, 800, 200);
    Score("songs\\1.bms", 5, 10, 0, 10);  // FULL COMBO 100%
    Score("songs\\3.bms", 2, 10, 0, 20);  // EASY 50%
    const struct {
        SongColumn column;
        Titles ascending;
    } cases[] = {
        {SongColumn::Title, {"a", "b", "C"}},   {SongColumn::Artist, {"C", "a", "b"}},
        {SongColumn::Genre, {"a", "b", "C"}},   {SongColumn::Level, {"a", "b", "C"}},
        {SongColumn::ExLevel, {"b", "a", "C"}}, {SongColumn::Difficulty, {"a", "b", "C"}},
        {SongColumn::Mode, {"C", "b", "a"}},    {SongColumn::Bpm, {"C", "a", "b"}},
        {SongColumn::Notes, {"b", "a", "C"}},   {SongColumn::Added, {"C", "a", "b"}},
        {SongColumn::Path, {"b", "C", "a"}},    {SongColumn::Lamp, {"C", "a", "b"}},
        {SongColumn::Rate, {"C", "a", "b"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Shown({}, c.column), c.ascending) << ColumnKey(c.column);
        Titles descending(c.ascending.rbegin(), c.ascending.rend());
        EXPECT_EQ(Shown({}, c.column, true), descending) << ColumnKey(c.column);
    }
    EXPECT_TRUE(DescendingFirst(SongColumn::Added));
    EXPECT_FALSE(DescendingFirst(SongColumn::Title));
}

TEST_F(SongListTest, EachFilterKeepsItsRows) {
    const std::int64_t now = std::time(nullptr);
    const std::int32_t fresh = LibraryTimeHoursAgo(2, now), old = LibraryTimeHoursAgo(30, now);
    Add("songs\\1.bms", "seven", "", "", "", "", 3, 0, 1, 7, 150, 100, fresh, 1);
    Add("songs\\2.bms", "five", "", "", "", "", 5, 0, 3, 5, 150, 100, old);
    Add("songs\\3.bms", "nine", "", "", "", "", 8, 0, 5, 9, 150, 100, old, 1);
    Add("songs\\4.bms", "failed", "", "", "", "", 12, 0, -1, 7, 150, 100, fresh);
    Score("songs\\3.bms", 3, 50, 0, 100);
    Score("songs\\4.bms", 1, 10, 0, 100);
    auto with = [&](auto set) {
        SongFilter f;
        f.now = now;
        set(f);
        return f;
    };
    const struct {
        const char* name;
        SongFilter filter;
        Titles want;
    } cases[] = {
        {"mode", with([](SongFilter& f) { f.mode = 7; }), {"failed", "seven"}},
        {"level", with([](SongFilter& f) { f.level_min = 4, f.level_max = 8; }), {"five", "nine"}},
        {"level from", with([](SongFilter& f) { f.level_min = 8; }), {"failed", "nine"}},
        {"difficulty", with([](SongFilter& f) { f.difficulty = 3; }), {"five"}},
        {"favourites", with([](SongFilter& f) { f.favorites = true; }), {"nine", "seven"}},
        {"not played", with([](SongFilter& f) { f.not_played = true; }), {"five", "seven"}},
        {"not cleared",
         with([](SongFilter& f) { f.not_cleared = true; }),
         {"failed", "five", "seven"}},
        {"new in 24 h", with([](SongFilter& f) { f.new_only = true; }), {"failed", "seven"}},
        {"new in 48 h",
         with([](SongFilter& f) { f.new_only = true, f.new_hours = 48; }),
         {"failed", "five", "nine", "seven"}},
        {"new in 1 h", with([](SongFilter& f) { f.new_only = true, f.new_hours = 1; }), {}},
    };
    for (const auto& c : cases) EXPECT_EQ(Shown(c.filter), c.want) << c.name;
}

TEST_F(SongListTest, CellsShowTheRowAsTheInformationPanelNamesIt) {
    Add("songs\\1.bms", "T", "[S]", "A", "B", "G", 3, 2, 4, 9, 150, 777);
    ASSERT_TRUE(TestDb().Exec("UPDATE song SET minbpm = 120, adddate = " +
                              std::to_string(LibraryTime({2026, 3, 4, 5, 6, 7}))));
    Score("songs\\1.bms", 4, 300, 100, 400);
    SongTable table;
    ASSERT_TRUE(table.Load(TestLibrary()));
    std::vector<std::string> cells;
    for (int c = 0; c < kSongColumns; ++c) cells.push_back(table.Cell(0, SongColumn(c)));
    EXPECT_EQ(cells,
              (std::vector<std::string>{"T [S]", "A/B", "G", U8(u8"☆3"), U8(u8"★2"), "ANOTHER",
                                        "9BUTTONS", U8(u8"120–150"), "777", "2026-03-04 05:06",
                                        "songs\\1.bms", "HARD CLEAR", "87%"}));
    EXPECT_EQ(table.ChartPath(0), "songs\\1.bms");
}

// A library larger than one block of rows and of texts: every row keeps its
// own texts, and a chart is found in any block.
TEST_F(SongListTest, ALargeLibraryKeepsEveryRowsTexts) {
    constexpr int kRows = 5000;              // more than a block of rows
    const std::string long_title(300, 't');  // and 1.5 MB of titles
    ASSERT_TRUE(TestDb().Exec("BEGIN"));
    for (int i = 0; i < kRows; ++i)
        Add("songs\\" + std::to_string(i) + ".bms", long_title + std::to_string(i), "",
            "artist" + std::to_string(i));
    ASSERT_TRUE(TestDb().Exec("COMMIT"));
    SongTable table;
    ASSERT_TRUE(table.Load(TestLibrary()));
    ASSERT_EQ(table.size(), size_t{kRows});
    for (size_t i = 0; i < table.size(); ++i) {
        const std::string n(table.ChartPath(i).substr(6, table.ChartPath(i).size() - 10));
        ASSERT_EQ(table.Text(i, SongText::Title), long_title + n) << i;
        ASSERT_EQ(table.Text(i, SongText::Artist), "artist" + n) << i;
    }
    EXPECT_EQ(table.ChartPath(size_t(table.Find(WinPath("songs\\4999.bms")))), "songs\\4999.bms");
}

}  // namespace
}  // namespace qv5
