// `QV5 check`: the real executable on a temporary game folder, its JSON read
// back by a parser, its exit code, its plain lines and its kind filter.
#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "config/config_file.h"
#include "support/link_tree.h"
#include "support/players.h"
#include "support/shell.h"
#include "support/temp_game.h"

namespace qv5 {
namespace {

// UTF-8 text of a u8 literal.
std::string T(const char8_t* s) {
    return reinterpret_cast<const char*>(s);
}

std::string ReadBytes(const std::string& host) {
    std::ifstream in(host, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// A player in config.xml, whose language is English.
void MakeEnglishPlayer() {
    test::MakePlayer("abc", "pass");
    ConfigRecord config;
    config.id = "abc";
    config.language = 1;
    ASSERT_EQ(SaveConfig(config), 1);
}

TEST(CheckCommand, FindingsAsJsonAndLinesWithTheExitCodeSayingWhetherAnyWasFound) {
    test::TempGame game;
    ASSERT_NO_FATAL_FAILURE(MakeEnglishPlayer());
    game.WriteFile("songs/s/kick.wav", "x");
    game.WriteFile("songs/s/a.bms", "#TITLE a\r\n#WAV01 kick.wav\r\n#00111:01\r\n");
    const std::string qv5 = std::string("'") + QV5_EXE + "' --dir '" + game.host() + "' ";
    ASSERT_EQ(test::RunShell(qv5 + "add-root '" + game.HostPath("songs") + "' 2>&1").code, 0);

    test::ShellResult clean = test::RunShell(qv5 + "check --json 2>/dev/null");
    EXPECT_EQ(clean.code, 0);
    QJsonObject doc = QJsonDocument::fromJson(QByteArray::fromStdString(clean.out)).object();
    EXPECT_EQ(doc["charts"].toInt(), 1);
    EXPECT_TRUE(doc["findings"].toArray().isEmpty());

    std::filesystem::remove(game.HostPath("songs/s/kick.wav"));
    game.WriteFile(T(u8"songs/s/é.bms"), "#TITLE e\r\n#00111:01\r\n");
    const std::string db = ReadBytes(game.HostPath("QV5files/Database/song.db"));
    test::ShellResult found = test::RunShell(qv5 + "check --json 2>/dev/null");
    EXPECT_EQ(found.code, 1);
    QJsonParseError error{};
    doc = QJsonDocument::fromJson(QByteArray::fromStdString(found.out), &error).object();
    ASSERT_EQ(error.error, QJsonParseError::NoError) << found.out;
    EXPECT_EQ(doc["counts"].toObject()["missing"].toInt(), 1);
    EXPECT_EQ(doc["counts"].toObject()["names"].toInt(), 1);
    const QJsonArray findings = doc["findings"].toArray();
    ASSERT_EQ(findings.size(), 2);
    const QJsonObject missing = findings[1].toObject();
    EXPECT_EQ(missing["kind"].toString(), "missing");
    EXPECT_EQ(missing["path"].toString(), "songs\\s\\a.bms");
    EXPECT_EQ(missing["count"].toInt(), 1);
    EXPECT_EQ(missing["names"].toArray()[0].toString(), "kick.wav");
    const QJsonObject name = findings[0].toObject();  // the missing files come last
    EXPECT_EQ(name["reason"].toString(), "no-shift-jis-form");
    EXPECT_EQ(name["host_path"].toString().toStdString(), game.host() + T(u8"/songs/s/é.bms"));
    EXPECT_EQ(name["character"].toString(), QStringLiteral(u"é"));
    EXPECT_EQ(ReadBytes(game.HostPath("QV5files/Database/song.db")), db);

    // Plain text: one finding a line, its kind first, in config.xml's language.
    test::ShellResult plain = test::RunShell(qv5 + "check missing 2>/dev/null");
    EXPECT_EQ(plain.code, 1);
    EXPECT_EQ(plain.out, "missing\tsongs/s/a.bms: 1 missing: kick.wav\n");
    test::ShellResult japanese = test::RunShell("QV5_LANG=ja " + qv5 + "check missing 2>/dev/null");
    EXPECT_EQ(japanese.out, T(u8"missing\tsongs/s/a.bms: 1個のファイルがありません: kick.wav\n"));
    EXPECT_EQ(test::RunShell(qv5 + "check duplicates 2>/dev/null").code, 0);
    EXPECT_EQ(test::RunShell(qv5 + "check nonsense 2>/dev/null").code, 2);
}

// Links back up the walked path and to "/": the check ends at once, having
// walked the folders the registration holds.
TEST(CheckCommand, LinksUpThePathAndToTheRootAreNotFollowed) {
    test::TempGame game;
    ASSERT_NO_FATAL_FAILURE(MakeEnglishPlayer());
    ASSERT_NO_FATAL_FAILURE(test::MakeTreeWithLinksBack(game));
    const std::string qv5 = std::string("'") + QV5_EXE + "' --dir '" + game.host() + "' ";
    ASSERT_EQ(test::RunShell(qv5 + "add-root '" + game.HostPath("songs") + "' 2>&1").code, 0);
    // A walk of the whole machine takes far longer than this.
    test::ShellResult r = test::RunShell("timeout 30 " + qv5 + "check --json 2>/dev/null");
    EXPECT_EQ(r.code, 0) << r.out;
    const QJsonObject doc = QJsonDocument::fromJson(QByteArray::fromStdString(r.out)).object();
    EXPECT_EQ(doc["folders"].toInt(), int(test::FoldersOfTreeWithLinksBack().size())) << r.out;
    EXPECT_EQ(doc["charts"].toInt(), 3);
    EXPECT_FALSE(doc["stopped"].toBool());
    EXPECT_TRUE(doc["findings"].toArray().isEmpty()) << r.out;
}

// A tab or line feed in a name, or an escape sequence in a title or a
// sound's name, is written as an escape: every record stays one line, and
// the terminal receives no control character but the separators.
TEST(TextOutput, EveryRecordIsOneLineWhateverItsNamesHold) {
    test::TempGame game;
    ASSERT_NO_FATAL_FAILURE(MakeEnglishPlayer());
    game.WriteFile("songs/tab\there/line\nfeed.bms",
                   "#TITLE \x1b[2Jwiped\r\n#WAV01 \x1b]0;x\x07.wav\r\n#00111:01\r\n");
    game.WriteFile("songs/plain/a.bms", "#TITLE a\r\n#WAV01 gone.wav\r\n#00111:01\r\n");
    const std::string qv5 = std::string("'") + QV5_EXE + "' --dir '" + game.host() + "' ";
    ASSERT_EQ(test::RunShell(qv5 + "add-root '" + game.HostPath("songs") + "' 2>&1").code, 0);
    const struct {
        std::string command;
        size_t lines;
        std::string holds;  // what the escaped record reads
    } cases[] = {
        {"songs", 2, "songs/tab\\there/line\\nfeed.bms  \\x1b[2Jwiped"},
        {"songs --tsv", 3, "songs\\tab\\there\\line\\nfeed.bms\t\\x1b[2Jwiped\t"},
        {"check missing", 2, "\\x1b]0;x\\x07.wav"},
    };
    for (const auto& c : cases) {
        const test::ShellResult r = test::RunShell(qv5 + c.command + " 2>/dev/null");
        size_t lines = 0;
        for (const char ch : r.out) {
            lines += ch == '\n';
            EXPECT_TRUE(ch == '\n' || ch == '\t' || static_cast<unsigned char>(ch) >= 0x20)
                << c.command << ": " << int(ch);
        }
        EXPECT_EQ(lines, c.lines) << c.command << "\n" << r.out;
        EXPECT_NE(r.out.find(c.holds), std::string::npos) << c.command << "\n" << r.out;
    }
}

}  // namespace
}  // namespace qv5
