// The table commands as a user runs them: the real programs on a temporary
// game folder with a real song.db, the tables on a real HTTP server on
// 127.0.0.1; their lines, their JSON read back by a parser, their exit codes.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <optional>
#include <sstream>

#include "support/http_server.h"
#include "support/library_compare.h"
#include "support/library_rows.h"
#include "support/shell.h"
#include "support/temp_game.h"
#include "support/test_library.h"

namespace qv5 {
namespace {

namespace fs = std::filesystem;

std::string T(const char8_t* s) {
    return reinterpret_cast<const char*>(s);
}

QJsonObject Json(const std::string& out) {
    QJsonParseError e{};
    const QJsonDocument doc = QJsonDocument::fromJson(QByteArray::fromStdString(out), &e);
    EXPECT_EQ(e.error, QJsonParseError::NoError) << out;
    return doc.object();
}

// The path of each line of `songs`.
std::vector<std::string> Lines(const std::string& out) {
    std::vector<std::string> paths;
    std::istringstream in(out);
    for (std::string line; std::getline(in, line);)
        paths.push_back(line.substr(0, line.find("  ")));
    return paths;
}

// Every file below `folder` of the game folder with its bytes.
std::map<std::string, std::string> FilesBelow(const test::TempGame& game, const char* folder) {
    std::map<std::string, std::string> files;
    const fs::path root = game.HostPath(folder);
    if (!fs::exists(root)) return files;
    for (const auto& e : fs::recursive_directory_iterator(root))
        if (e.is_regular_file())
            files[fs::relative(e.path(), root).string()] =
                game.ReadFile(fs::relative(e.path(), game.host()).string());
    return files;
}

class TableCommands : public ::testing::Test {
  protected:
    void SetUp() override {
        server.SetMode("missing");  // what the table has not put there
        setenv("no_proxy", "127.0.0.1", 1);
        unsetenv("http_proxy");
        game.WriteFile("songs/s/a.bms", "#TITLE a\r\n#00111:01\r\n");
        game.WriteFile("songs/s/b.bms", "#TITLE b\r\n#00111:0101\r\n");
        ASSERT_EQ(Run("add-root '" + game.HostPath("songs") + "'").code, 0);
        const auto rows =
            test::QueryRows(test::SongDbFile(game), "SELECT hash FROM song ORDER BY path");
        ASSERT_EQ(rows.size(), 2u);
        a = rows[0], b = rows[1];
        for (char& c : b) c = char(std::toupper(c));  // a table writing capitals
        server.Serve("/t/table.html",
                     R"(<html><head><meta name="bmstable" content="h/header.json"></head></html>)");
        SetHeader(
            R"({"name":"Test table","symbol":"★","data_url":"../../d/data.json","level_order":[1,2]})");
        SetData({Entry("1", a, "A"), Entry("1", std::string(32, 'e'), "M", "http://x/m.zip"),
                 Entry("2", b, "B"), Entry("\"12\"", "'; DROP TABLE song; --", "Bad\\nline"),
                 R"({"level":12,"sha256":")" + std::string(64, 'a') + R"("})"});
    }
    static std::string Entry(const std::string& level, const std::string& md5,
                             const std::string& title, const std::string& url = "") {
        return R"({"level":)" + level + R"(,"md5":")" + md5 + R"(","title":")" + title +
               R"(","url":")" + url + R"("})";
    }
    void SetHeader(const std::string& json, const std::string& how = "") {
        server.Serve("/t/h/header.json", json, how);
    }
    void SetData(const std::vector<std::string>& entries, const std::string& how = "") {
        std::string out = "\xEF\xBB\xBF[";
        for (const std::string& e : entries) out += (out.size() > 4 ? "," : "") + e;
        server.Serve("/d/data.json", out + "]", how);
    }
    test::ShellResult Run(const std::string& args, bool with_stderr = true) {
        return test::RunShell("QV5_LANG=en '" + std::string(QV5_EXE) + "' --dir '" + game.host() +
                              "' " + args + (with_stderr ? " 2>&1" : " 2>/dev/null"));
    }
    test::TempGame game;
    std::optional<test::HttpServer> running;
    test::HttpServer& server = running.emplace();
    std::string a, b;
};

TEST_F(TableCommands, OutputAndExitCodes) {
    const std::string url = server.Url("/t/table.html");
    using Check = std::function<void(const std::string&)>;
    const struct {
        std::string args;
        int code;
        Check check;
    } cases[] = {
        {"add-table '" + url + "'", 0,
         [&](const std::string& out) {
             EXPECT_EQ(out,
                       T(u8"Test table\t★\t3 levels\t2 / 5\n★1\t1 / 2\n★2\t1 / 1\n★12\t0 / 2\n"));
         }},
        {"add-table '" + url + "'", 1,
         [](const std::string& out) {
             EXPECT_NE(out.find("update-tables"), std::string::npos) << out;
         }},
        {"tables", 0,
         [&](const std::string& out) {
             EXPECT_EQ(out.rfind(T(u8"Test table\t★\t3 levels\t2 / 5\t"), 0), 0u) << out;
             EXPECT_TRUE(out.ends_with("\t" + url + "\n")) << out;
         }},
        {"tables --json", 0,
         [](const std::string& out) {
             const QJsonArray list = Json(out)["tables"].toArray();
             ASSERT_EQ(list.size(), 1);
             EXPECT_EQ(list[0]["held"].toInt(), 2);
             EXPECT_EQ(list[0]["total"].toInt(), 5);
             EXPECT_EQ(list[0]["levels"].toArray().size(), 3);
         }},
        {T(u8"tables ★"), 0,
         [](const std::string& out) { EXPECT_EQ(out, T(u8"★1\t1 / 2\n★2\t1 / 1\n★12\t0 / 2\n")); }},
        {"tables 'Test table' --json", 0,
         [&](const std::string& out) {
             const QJsonObject t = Json(out);
             EXPECT_EQ(t["name"].toString(), "Test table");
             EXPECT_EQ(t["symbol"].toString(), QString::fromUtf8(T(u8"★")));
             const QJsonArray levels = t["levels"].toArray();
             ASSERT_EQ(levels.size(), 3);
             EXPECT_EQ(levels[0]["level"].toString(), "1");
             const QJsonObject held = levels[0]["entries"].toArray()[0].toObject();
             EXPECT_TRUE(held["held"].toBool());
             EXPECT_EQ(held["md5"].toString().toStdString(), a);
             EXPECT_EQ(held["paths"].toArray()[0].toString(), "songs\\s\\a.bms");
             EXPECT_TRUE(
                 levels[1]["entries"].toArray()[0].toObject()["held"].toBool());  // in capitals
             const QJsonObject bad = levels[2]["entries"].toArray()[0].toObject();
             EXPECT_EQ(bad["status"].toString(), "cannot be matched");
             EXPECT_EQ(bad["md5"].toString(), "");
             EXPECT_EQ(bad["title"].toString(), "Bad\nline");
             EXPECT_EQ(levels[2]["entries"].toArray()[1].toObject()["status"].toString(),
                       "sha256 only");
         }},
        {T(u8"tables ★ --level ★1 --missing"), 0,
         [](const std::string& out) {
             EXPECT_EQ(out, T(u8"★1\tmissing\tM\t\t\thttp://x/m.zip\t\n"));
         }},
        {"tables 'Test table' --level 12", 0,
         [](const std::string& out) {
             EXPECT_EQ(
                 out,
                 T(u8"★12\tcannot be matched\tBad\\nline\t\t\t\t\n★12\tsha256 only\t\t\t\t\t\n"));
         }},
        // The quick program's song list by the level folders the table wrote.
        {"songs --sort path --table 'Test table'", 0,
         [](const std::string& out) {
             EXPECT_EQ(Lines(out), (std::vector<std::string>{"songs/s/a.bms", "songs/s/b.bms"}))
                 << out;
         }},
        {T(u8"songs --table 'Test table:★2'"), 0,
         [](const std::string& out) {
             EXPECT_EQ(Lines(out), std::vector<std::string>{"songs/s/b.bms"}) << out;
         }},
        {T(u8"songs --mode 7 --table 'Test table:★1'"), 0,
         [](const std::string& out) { EXPECT_EQ(out, ""); }},  // the other filters still apply
        {T(u8"songs --table 'Test table:★12'"), 1,             // no valid md5: no level folder
         [](const std::string& out) {
             EXPECT_NE(out.find(T(u8"no level \"★12\" in the table \"Test table\"")),
                       std::string::npos)
                 << out;
         }},
        {"songs --table nosuch", 1,
         [](const std::string& out) {
             EXPECT_NE(out.find("no table \"nosuch\""), std::string::npos) << out;
         }},
        {"songs --table", 2, nullptr},
        {T(u8"tables ★ --level 7"), 1, nullptr},
        {"tables nosuch", 1,
         [](const std::string& out) {
             EXPECT_NE(out.find("no table \"nosuch\""), std::string::npos) << out;
         }},
        {"tables --missing", 2, nullptr},
        {"tables a b", 2, nullptr},
        {"update-tables", 0,
         [](const std::string& out) {
             EXPECT_NE(out.find("Test table\t0 added, 0 removed, 0 moved\n"), std::string::npos)
                 << out;
             EXPECT_NE(out.find("1 / 1 tables updated"), std::string::npos) << out;
         }},
        {"update-tables nosuch", 1, nullptr},
        {T(u8"remove-table ★"), 0, nullptr},
        {"tables --json", 0,
         [](const std::string& out) { EXPECT_TRUE(Json(out)["tables"].toArray().isEmpty()); }},
        {T(u8"remove-table ★"), 1, nullptr},
        {"songs --table 'Test table'", 1, nullptr},
        {"add-table /nonexistent/table.html", 1, nullptr},
    };
    for (const auto& c : cases) {
        // Exact output is stdout alone; messages and summaries are on stderr.
        const test::ShellResult r = Run(c.args, c.code != 0 || c.args.starts_with("update"));
        EXPECT_EQ(r.code, c.code) << c.args << "\n" << r.out;
        if (c.check) c.check(r.out);
    }
    // The library was only read.
    EXPECT_EQ(test::QueryRows(test::SongDbFile(game), "SELECT hash FROM song").size(), 2u);
}

// Each failure of an update keeps the kept copy as it was, says which
// address failed and why, and exits non-zero; a good update reports what
// changed and keeps the report with the table.
TEST_F(TableCommands, AFailedUpdateKeepsTheCopyAndAGoodOneSaysWhatChanged) {
    ASSERT_EQ(Run("add-table '" + server.Url("/t/table.html") + "'").code, 0);
    const auto kept = FilesBelow(game, "QV5files/Tables");
    ASSERT_EQ(kept.size(), 3u);
    const std::string header = server.Url("/t/h/header.json"), data = server.Url("/d/data.json");
    const struct {
        std::function<void()> spoil;
        std::string url, why;
    } cases[] = {
        {[&] { server.Serve("/t/table.html", "", "missing"); }, server.Url("/t/table.html"), "404"},
        {[&] { server.Serve("/t/table.html", "<html>moved</html>"); }, server.Url("/t/table.html"),
         "no bmstable meta"},
        {[&] { SetHeader("{\"name\":\"Test table\""); }, header, "not valid JSON"},
        {[&] { SetHeader(R"({"name":"Test table"})"); }, header, "data_url"},
        {[&] { SetHeader(R"({"name":"Test table","data_url":"file:///etc/hosts"})"); }, header,
         "file:"},
        {[&] { SetData({R"({"title":"no level"})"}); }, data, "no entries"},
        {[&] { SetData({"{}"}, "endless"); }, data, "larger than 32 MiB"},
        {[&] { SetData({"["}); }, data, "not valid JSON"},
    };
    for (const auto& c : cases) {
        c.spoil();
        const test::ShellResult r = Run("update-tables");
        EXPECT_EQ(r.code, 1) << c.url << "\n" << r.out;
        EXPECT_NE(r.out.find(c.url + ": "), std::string::npos) << r.out;
        EXPECT_NE(r.out.find(c.why), std::string::npos) << r.out;
        EXPECT_EQ(FilesBelow(game, "QV5files/Tables"), kept) << c.url;
        // Put back what this case spoilt.
        server.Serve("/t/table.html",
                     R"(<html><head><meta name="bmstable" content="h/header.json"></head></html>)");
        SetHeader(
            R"({"name":"Test table","symbol":"★","data_url":"../../d/data.json","level_order":[1,2]})");
        SetData({Entry("1", a, "A")});
    }
    // 2 added, 1 removed (A), 1 moved (B from 2 to 3); the others have no md5.
    SetData({Entry("3", b, "B"), Entry("1", std::string(32, 'c'), "C"),
             Entry("1", std::string(32, 'd'), "D"), Entry("1", std::string(32, 'e'), "M")},
            "gzip");
    const test::ShellResult r = Run("update-tables 'Test table'");
    EXPECT_EQ(r.code, 0) << r.out;
    EXPECT_NE(r.out.find("Test table\t2 added, 1 removed, 1 moved\n"), std::string::npos) << r.out;
    const auto now = FilesBelow(game, "QV5files/Tables");
    ASSERT_EQ(now.size(), 3u);
    const std::string state = now.begin()->first.substr(0, now.begin()->first.find('/'));
    const QJsonObject changes = Json(now.at(state + "/state.json"))["changes"].toObject();
    EXPECT_EQ(changes["added"].toArray().size(), 2);
    EXPECT_EQ(changes["removed"].toArray()[0].toObject()["title"].toString(), "A");
    EXPECT_EQ(changes["moved"].toArray()[0].toObject()["from"].toString(), "2");
    const QJsonObject shown = Json(Run("tables 'Test table' --json", false).out);
    EXPECT_EQ(shown["last_changes"].toString(), "2 added, 1 removed, 1 moved");
    EXPECT_EQ(shown["changes"].toObject()["moved"].toInt(), 1);
    // No connection: the copy stays.
    const auto updated = FilesBelow(game, "QV5files/Tables");
    running.reset();
    const test::ShellResult gone = Run("update-tables");
    EXPECT_EQ(gone.code, 1) << gone.out;
    EXPECT_EQ(FilesBelow(game, "QV5files/Tables"), updated);
}

// A name and levels with control characters, line breaks and 10,000
// characters: one line a record, a folder name of the store's own.
TEST_F(TableCommands, HostileNamesAndLevels) {
    const std::string name = "Evil\\n\\u001b[31m" + std::string(10000, 'x') + "/../..";
    SetHeader(R"({"name":")" + name + R"(","symbol":"☆","data_url":"../../d/data.json"})");
    SetData({Entry("\"1\\n2\"", a, "A\\r\\u001b]0;x\\u0007"),
             Entry("\"" + std::string(10000, 'L') + "\"", b, "B")});
    game.WriteFile("QV5files/Tables/.new-1-2-3/data.json", "what a killed write left");
    ASSERT_EQ(Run("add-table '" + server.Url("/t/table.html") + "'").code, 0);
    EXPECT_FALSE(game.Exists("QV5files/Tables/.new-1-2-3"));
    const test::ShellResult r = Run("tables", false);
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 1) << r.out.substr(0, 200);
    EXPECT_EQ(r.out.find('\x1b'), std::string::npos);
    const test::ShellResult levels = Run(T(u8"tables ☆ --level '1\n2'"), false);
    EXPECT_EQ(levels.code, 0);
    EXPECT_EQ(levels.out.rfind(T(u8"☆1\\n2\theld\tA\\r\\x1b]0;x"), 0), 0u) << levels.out;
    const auto files = FilesBelow(game, "QV5files/Tables");
    ASSERT_EQ(files.size(), 3u);
    const std::string folder = files.begin()->first.substr(0, files.begin()->first.find('/'));
    EXPECT_EQ(folder, "Evil__[31m" + std::string(54, 'x'));
}

// Every custom-folder file below tables/ with its bytes.
std::map<std::string, std::string> LevelFiles(const test::TempGame& game) {
    return FilesBelow(game, "tables");
}

// song.db as the commands left it against a fresh registration of the song
// folders config.xml names.
::testing::AssertionResult LibraryIsFresh(const std::vector<std::string>& roots) {
    OpenTestLibrary("");
    const auto result = test::MatchesFreshRegistration(roots);
    CloseTestLibrary();
    return result;
}

// The level folders follow the kept table: the first table registers
// tables\ as a song folder, each change rewrites the table's files and
// leaves song.db as a fresh registration of its song folders gives it.
TEST_F(TableCommands, LevelFoldersFollowTheTableInTheLibrary) {
    ASSERT_EQ(Run("add-table '" + server.Url("/t/table.html") + "'").code, 0);
    EXPECT_EQ(test::ConfigRoots(), "songs\\;tables\\;");
    const std::string star = "\x81\x9A";
    // Host names are UTF-8; the files and song.db hold CP932.
    const std::string one = T(u8"Test table/01 ★1.qv5folder"),
                      two = T(u8"Test table/02 ★2.qv5folder");
    auto files = LevelFiles(game);
    ASSERT_EQ(files.size(), 2u);  // level 12 has no valid md5
    EXPECT_EQ(files.at(one),
              "#TITLE " + star +
                  "1\r\n#CATEGORY Test table\r\n#INFORMATION_A 1 / 2\r\n"
                  "#INFORMATION_B " +
                  files.at(one).substr(files.at(one).find("#INFORMATION_B ") + 15, 19) +
                  "\r\n#COMMAND song.hash IN ('" + a + "','" + std::string(32, 'e') + "')\r\n");
    EXPECT_NE(files.at(two).find("#INFORMATION_A 1 / 1\r\n"), std::string::npos);
    EXPECT_TRUE(LibraryIsFresh({"songs\\", "tables\\"}));
    const auto custom = [&] {
        return test::QueryRows(test::SongDbFile(game),
                               "SELECT path FROM folder WHERE type=2 ORDER BY path");
    };
    EXPECT_EQ(custom().size(), 2u);

    // Level 2 gone, B moved to a new level 3, A now at level 1 and 3.
    SetData({Entry("1", a, "A"), Entry("3", b, "B"), Entry("3", a, "A")});
    ASSERT_EQ(Run("update-tables").code, 0);
    files = LevelFiles(game);
    const std::string three = T(u8"Test table/02 ★3.qv5folder");
    ASSERT_EQ(files.size(), 2u);
    ASSERT_TRUE(files.count(one) && files.count(three));
    std::string lower_b = b;
    for (char& c : lower_b) c = char(std::tolower(c));
    EXPECT_NE(files.at(three).find("#INFORMATION_A 2 / 2\r\n#"), std::string::npos);
    EXPECT_NE(files.at(three).find("#COMMAND song.hash IN ('" + lower_b + "','" + a + "')\r\n"),
              std::string::npos);
    EXPECT_TRUE(LibraryIsFresh({"songs\\", "tables\\"}));
    EXPECT_EQ(custom(),
              (std::vector<std::string>{"tables\\Test table\\01 " + star + "1.qv5folder",
                                        "tables\\Test table\\02 " + star + "3.qv5folder"}));

    server.Serve("/u/table.html",
                 R"(<html><head><meta name="bmstable" content="h.json"></head></html>)");
    server.Serve("/u/h.json", R"({"name":"Second","data_url":"d.json"})");
    server.Serve("/u/d.json", "[" + Entry("1", a, "A") + "]");
    // A second table: its folder, new to song.db, comes in by the refresh.
    ASSERT_EQ(Run("add-table '" + server.Url("/u/table.html") + "'").code, 0);
    EXPECT_TRUE(LibraryIsFresh({"songs\\", "tables\\"}));
    EXPECT_EQ(custom().size(), 3u);
    ASSERT_EQ(Run("remove-table Second").code, 0);
    EXPECT_EQ(custom().size(), 2u);

    ASSERT_EQ(Run(T(u8"remove-table ★")).code, 0);
    EXPECT_TRUE(LevelFiles(game).empty());
    EXPECT_FALSE(game.Exists("tables/Test table"));
    EXPECT_TRUE(LibraryIsFresh({"songs\\", "tables\\"}));
    EXPECT_TRUE(custom().empty());

    // Taken out of the list by the player, tables\ stays out: a new table
    // writes its files and leaves song.db alone.
    ASSERT_EQ(Run("remove-root '" + game.HostPath("tables") + "'").code, 0);
    ASSERT_EQ(Run("add-table '" + server.Url("/t/table.html") + "'").code, 0);
    EXPECT_EQ(test::ConfigRoots(), "songs\\;");
    EXPECT_EQ(LevelFiles(game).size(), 2u);
    EXPECT_TRUE(custom().empty());
    EXPECT_TRUE(LibraryIsFresh({"songs\\"}));

    // Moved away by the player, the tables kept: a new table writes its
    // folder and registers no tables\ again.
    fs::rename(game.HostPath("tables"), game.HostPath("moved"));
    ASSERT_EQ(Run("add-table '" + server.Url("/u/table.html") + "'").code, 0);
    EXPECT_EQ(test::ConfigRoots(), "songs\\;");
    EXPECT_TRUE(game.Exists("tables/Second/01 1.qv5folder"));
    EXPECT_TRUE(custom().empty());
}

}  // namespace
}  // namespace qv5
