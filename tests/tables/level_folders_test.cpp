// The level folders the game body lists: the files byte for byte, the rules
// of their texts and of a level too long for one line, and each command
// evaluated as the game body evaluates it, over song.db with a player's
// scores joined.
#include "tables/level_folders.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>

#include "library/song_library.h"
#include "platform/database.h"
#include "platform/win_path.h"
#include "support/library_rows.h"
#include "support/players.h"
#include "support/temp_game.h"
#include "support/test_library.h"
#include "tables/table.h"
#include "tables/table_store.h"

namespace qv5 {
namespace {

namespace fs = std::filesystem;

std::string T(const char8_t* s) {
    return reinterpret_cast<const char*>(s);
}

std::string Md5(char c) {
    return std::string(32, c);
}

std::string Entry(const std::string& level, const std::string& md5) {
    return R"({"level":")" + level + R"(","md5":")" + md5 + R"("})";
}

// A table as the reader makes it of its header and entries.
void ReadTable(const std::string& header_json, const std::vector<std::string>& entries,
               TableHeader& header, TableData& data) {
    std::string list, error;
    for (const std::string& e : entries) list += (list.empty() ? "" : ",") + e;
    ASSERT_TRUE(ReadTableHeader(header_json, header, error)) << error;
    ASSERT_TRUE(ReadTableData("[" + list + "]", data, error)) << error;
}

std::map<std::string, std::string> ByName(const std::vector<LevelFolderFile>& files) {
    std::map<std::string, std::string> out;
    for (const LevelFolderFile& f : files) out[f.name] = f.bytes;
    return out;
}

// The #COMMAND of a file's bytes.
std::string CommandOf(const std::string& bytes) {
    const size_t at = bytes.find("#COMMAND ");
    if (at == std::string::npos) return {};
    const size_t from = at + 9;
    return bytes.substr(from, bytes.find("\r\n", from) - from);
}

TEST(LevelFolders, FilesByteForByte) {
    const std::string a = Md5('a'), b = Md5('b'), c = Md5('c'), d = Md5('d'), e = Md5('e');
    TableHeader header;
    TableData data;
    ReadTable(
        T(u8R"({"name":"Test\ttable\n𝄞","symbol":"★","data_url":"d","level_order":["1","2"]})"),
        {Entry("1", a), Entry("1", Md5('B')), Entry("1", "not an md5"),
         // Split in two by the small limit; the chart listed twice once.
         Entry("2", c), Entry("2", a), Entry("2", d), Entry("2", c),
         // No valid md5: no file.
         Entry("9", "zz"),
         // A character without a CP932 form, and a separator.
         Entry(T(u8"𝄞/7"), e)},
        header, data);
    const ChartHashes charts{{a, {"songs\\a.bms"}}};
    // 14 + two md5s of 34 bytes, a comma and ")": two md5s a file.
    const auto files = ByName(MakeLevelFolderFiles(header, data, charts, "2026-12-01\r\n", 84));

    const std::string star = "\x81\x9A";  // ★ in CP932
    const std::string tail = "#CATEGORY Testtable?\r\n";
    const std::map<std::string, std::string> want = {
        {"01 " + star + "1.qv5folder", "#TITLE " + star + "1\r\n" + tail +
                                           "#INFORMATION_A 1 / 3\r\n#INFORMATION_B 2026-12-01\r\n"
                                           "#COMMAND song.hash IN ('" +
                                           a + "','" + b + "')\r\n"},
        {"02 " + star + "2 (1-2).qv5folder",
         "#TITLE " + star + "2 (1/2)\r\n" + tail +
             "#INFORMATION_A 1 / 4\r\n#INFORMATION_B 2026-12-01\r\n"
             "#COMMAND song.hash IN ('" +
             c + "','" + a + "')\r\n"},
        {"02 " + star + "2 (2-2).qv5folder",
         "#TITLE " + star + "2 (2/2)\r\n" + tail +
             "#INFORMATION_A 1 / 4\r\n#INFORMATION_B 2026-12-01\r\n"
             "#COMMAND song.hash IN ('" +
             d + "')\r\n"},
        {"04 " + star + "__7.qv5folder", "#TITLE " + star + "?/7\r\n" + tail +
                                             "#INFORMATION_A 0 / 1\r\n#INFORMATION_B 2026-12-01\r\n"
                                             "#COMMAND song.hash IN ('" +
                                             e + "')\r\n"},
    };
    EXPECT_EQ(files, want);
}

TEST(LevelFolders, TextsLoseControlsAndAreCutOnACharacter) {
    std::string many;  // 101 "あ", two bytes each in CP932
    for (int i = 0; i < 101; ++i) many += T(u8"あ");
    std::string cut;
    for (int i = 0; i < 99; ++i) cut += "\x82\xA0";
    const struct {
        std::string utf8, want;
    } cases[] = {
        {"plain", "plain"},
        {"a\r\nb\tc\x7F"
         "d",
         "abcd"},
        {T(u8"x\u0085y\u2028z\u2029!"), "xyz!"},  // C1 NEL, line and paragraph separators
        {T(u8"😀 ☆"), "? \x81\x99"},
        {T(u8"ｱｲ"), "\xB1\xB2"},  // half-width kana, one byte each
        {many, cut + "\x82\xA0"},
        {"a" + many, "a" + cut},  // 199 bytes: the next character would pass 200
    };
    for (const auto& c : cases) EXPECT_EQ(LevelFileText(c.utf8), c.want) << c.utf8;
}

TEST(LevelFolders, ALevelPastTheLineLimitIsSplitUnderIt) {
    for (const size_t count : {size_t(2856), size_t(2857), size_t(6000)}) {
        std::vector<std::string> entries, md5s;
        for (size_t i = 0; i < count; ++i) {
            char hex[33];
            std::snprintf(hex, sizeof hex, "%032zx", i);
            md5s.push_back(hex);
            entries.push_back(Entry("12", hex));
        }
        TableHeader header;
        TableData data;
        ReadTable(R"({"name":"N","symbol":"sl","data_url":"d"})", entries, header, data);
        const auto files = MakeLevelFolderFiles(header, data, ChartHashes(), "");
        const size_t parts = (count + 2855) / 2856;
        ASSERT_EQ(files.size(), parts) << count;
        std::string joined;
        for (size_t p = 0; p < files.size(); ++p) {
            const std::string command = CommandOf(files[p].bytes);
            EXPECT_LE(command.size(), kMaxLevelCommandBytes);
            // The header reader takes a line whole below 102,400 bytes.
            EXPECT_LT(command.size() + 11, size_t(102400));
            ASSERT_TRUE(command.starts_with("song.hash IN (") && command.ends_with(")"));
            joined += (joined.empty() ? "" : ",") + command.substr(14, command.size() - 15);
            if (parts > 1) {
                EXPECT_NE(files[p].bytes.find("#TITLE sl12 (" + std::to_string(p + 1) + "/" +
                                              std::to_string(parts) + ")\r\n"),
                          std::string::npos);
            }
        }
        std::string want;
        for (const std::string& m : md5s) want += (want.empty() ? "'" : ",'") + m + "'";
        EXPECT_EQ(joined, want) << count;
    }
}

// Writes the files into the game folder and takes away those of levels gone.
TEST(LevelFolders, TheFolderHoldsExactlyTheLevelsWritten) {
    test::TempGame game;
    const WinPath folder = WinPath(kLevelFoldersRoot).Join("T").AsFolder();
    std::string error;
    ASSERT_TRUE(WriteLevelFolder(folder, {{"01 a.qv5folder", "1"}, {"02 b.qv5folder", "2"}}, error))
        << error;
    game.WriteFile("tables/T/notes.txt", "mine");
    ASSERT_TRUE(WriteLevelFolder(folder, {{"01 a.qv5folder", "one"}}, error)) << error;
    EXPECT_EQ(game.ReadFile("tables/T/01 a.qv5folder"), "one");
    EXPECT_FALSE(game.Exists("tables/T/02 b.qv5folder"));
    EXPECT_TRUE(game.Exists("tables/T/notes.txt"));
    ASSERT_TRUE(RemoveLevelFolder(folder, error)) << error;
    EXPECT_FALSE(game.Exists("tables/T/01 a.qv5folder"));
    EXPECT_TRUE(game.Exists("tables/T/notes.txt"));  // not ours: the folder stays for it
    fs::remove(game.HostPath("tables/T/notes.txt"));
    ASSERT_TRUE(RemoveLevelFolder(folder, error)) << error;
    EXPECT_FALSE(game.Exists("tables/T"));
    EXPECT_TRUE(RemoveLevelFolder(folder, error));  // nothing there: no failure
}

// Each command as the game body runs it: the song rows with the player's
// scores joined, the condition over both tables; it gives exactly the held
// charts of its level, every copy of a chart held twice among them.
TEST(LevelFolders, EachCommandSelectsTheHeldChartsOfItsLevel) {
    test::TempGame game;
    test::MakePlayer("abc", "pass");
    game.WriteFile("songs/x/a.bms", "#TITLE a\r\n#00111:01\r\n");
    game.WriteFile("songs/x/b.bms", "#TITLE b\r\n#00111:0101\r\n");
    game.WriteFile("songs/y/a.bms", "#TITLE a\r\n#00111:01\r\n");  // the same chart again
    game.WriteFile("songs/y/c.bms", "#TITLE c\r\n#00111:010101\r\n");
    game.WriteFile("songs/y/other.bms", "#TITLE other\r\n#00111:01010101\r\n");
    OpenTestLibrary("abc");
    ASSERT_TRUE(TestRegisterRoot("songs\\"));
    std::map<std::string, std::string> hash;  // by file name in songs/x and songs/y
    for (const std::string& row : test::QueryRows(TestDb(), "SELECT path||'|'||hash FROM song")) {
        const size_t bar = row.find('|');
        hash[row.substr(0, bar)] = row.substr(bar + 1);
    }
    ASSERT_EQ(hash.size(), 5u);
    const std::string a = hash["songs\\x\\a.bms"], b = hash["songs\\x\\b.bms"],
                      c = hash["songs\\y\\c.bms"];
    ASSERT_EQ(hash["songs\\y\\a.bms"], a);
    // Scores of the player: a played chart and one the library lacks.
    ASSERT_TRUE(TestDb().Exec("INSERT INTO scoredb.score(hash,clear) VALUES('" + a + "',5),('" +
                              Md5('f') + "',3)"));

    std::string upper_b = b;
    for (char& ch : upper_b) ch = char(std::toupper(static_cast<unsigned char>(ch)));
    TableHeader header;
    TableData data;
    ReadTable(R"({"name":"T","symbol":"st","data_url":"d"})",
              {Entry("1", a), Entry("1", upper_b), Entry("1", Md5('f')), Entry("2", c),
               Entry("2", a), Entry("3", Md5('e')), Entry("4", "x' OR 1=1 --")},
              header, data);
    ChartHashes charts;
    for (const auto& [path, h] : hash) charts.Add(h, path);
    const auto files = MakeLevelFolderFiles(header, data, charts, "");
    ASSERT_EQ(files.size(), 3u);  // level 4 has no valid md5

    const std::map<std::string, std::vector<std::string>> held = {
        {"01 st1.qv5folder", {"songs\\x\\a.bms", "songs\\x\\b.bms", "songs\\y\\a.bms"}},
        {"02 st2.qv5folder", {"songs\\x\\a.bms", "songs\\y\\a.bms", "songs\\y\\c.bms"}},
        {"03 st3.qv5folder", {}},
    };
    const WinPath folder = WinPath(kLevelFoldersRoot).Join("T").AsFolder();
    std::string error;
    ASSERT_TRUE(WriteLevelFolder(folder, files, error)) << error;
    ASSERT_TRUE(TestRegisterRoot(kLevelFoldersRoot));
    for (const LevelFolderFile& f : files) {
        ASSERT_TRUE(held.count(f.name)) << f.name;
        // What the game reads: the command song.db holds for the folder row.
        const std::string path = folder.Join(f.name).text();
        const auto stored = test::QueryRows(
            TestDb(), "SELECT command FROM folder WHERE type=2 AND path='" + path + "'");
        ASSERT_EQ(stored.size(), 1u) << path;
        EXPECT_EQ(stored[0], CommandOf(f.bytes));
        auto got = test::QueryRows(TestDb(),
                                   "SELECT song.path FROM song LEFT JOIN score ON song.hash = "
                                   "score.hash WHERE " +
                                       stored[0]);
        std::sort(got.begin(), got.end());
        EXPECT_EQ(got, held.at(f.name)) << f.name;
    }
    CloseTestLibrary();
}

}  // namespace
}  // namespace qv5
