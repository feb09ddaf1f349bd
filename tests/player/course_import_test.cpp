// Course lists into the course tables of song.db.
#include "player/course_import.h"

#include <gtest/gtest.h>

#include "library/file_hash.h"
#include "library/scanner.h"
#include "library/song_library.h"
#include "platform/database.h"
#include "platform/text.h"
#include "player/xml_list.h"
#include "support/library_rows.h"
#include "support/players.h"
#include "support/temp_game.h"
#include "support/test_library.h"

namespace qv5 {
namespace {

std::string U(const char8_t* s) {
    return reinterpret_cast<const char*>(s);
}

std::string Course(const std::string& title, int line, const std::string& hash,
                   const std::string& type) {
    return "<course><title>" + title + "</title><line>" + std::to_string(line) + "</line><hash>" +
           hash + "</hash><type>" + type + "</type></course>\n";
}

const char* kList = "QV5files/courses.qv5crs";
const char* kListInternal = "QV5files\\courses.qv5crs";

class CourseImportTest : public ::testing::Test {
  protected:
    // As the command and the window run it: on a library opened for it.
    static CourseImport Import(const std::string& path,
                               int busy_ms = Database::kDefaultBusyMilliseconds) {
        SongLibrary library;
        library.SetBusyTimeout(busy_ms);
        library.Open("");
        return ImportCourseList(library, path);
    }
    // "table|title|line|hash|ir" per row, titles as CP932 read back.
    std::vector<std::string> Rows() {
        std::vector<std::string> rows;
        for (const std::string table : {"expert", "nonstop", "grade"})
            for (const std::string& row : test::QueryRows(
                     test::ProgramSongDb(),
                     "SELECT '" + table + "',title,line,hash,ir FROM " + table + " ORDER BY id"))
                rows.push_back(row);
        return rows;
    }
    std::string StoredTitleHex(const char* table) {
        return test::QueryText(test::ProgramSongDb(),
                               std::string("SELECT hex(title) FROM ") + table, {}, "");
    }
    test::TempGame game;
};

std::string Hex(const std::string& bytes) {
    static const char* digits = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : bytes) out += {digits[c >> 4], digits[c & 15]};
    return out;
}

TEST_F(CourseImportTest, TypesSelectTheTable) {
    const std::string japanese = Sj(u8"段位認定 初段");
    game.WriteFile(kList, "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>\n<courselist>\n" +
                              Course(japanese, 4, "h0", "0") +
                              Course("It's &amp; fine", 3, "h1", "1") +
                              Course("grade one", 5, "h2", " 2") + Course("skipped", 1, "h3", "3") +
                              Course("no type", 1, "h4", "x") + "</courselist>\n");
    const CourseImport r = Import(kListInternal);
    EXPECT_EQ(r.count, 4);  // a missing type reads as 0
    EXPECT_TRUE(r.consumed);
    EXPECT_TRUE(r.error.empty());
    EXPECT_TRUE(r.notices.empty());
    EXPECT_FALSE(game.Exists(kList));
    EXPECT_EQ(Rows(),
              (std::vector<std::string>{"expert|" + japanese + "|4|h0|1", "expert|no type|1|h4|1",
                                        "nonstop|It's & fine|3|h1|1", "grade|grade one|5|h2|1"}));
    // The library holds UTF-8 for the game body.
    EXPECT_EQ(StoredTitleHex("expert"), Hex(U(u8"段位認定 初段")));
}

TEST_F(CourseImportTest, Utf8ListsAreNotConvertedTwice) {
    for (const std::string& head :
         {std::string("<?xml version='1.0' encoding='UTF-8'?>"), std::string("\xEF\xBB\xBF")}) {
        game.WriteFile(kList,
                       head + "<courselist>" + Course(U(u8"初段"), 1, "h", "2") + "</courselist>");
        EXPECT_EQ(Import(kListInternal).count, 1);
    }
    EXPECT_EQ(StoredTitleHex("grade"), Hex(U(u8"初段")));
    EXPECT_EQ(Rows().size(), 2u);
    EXPECT_EQ(Rows()[0], "grade|" + Sj(u8"初段") + "|1|h|1");
}

TEST_F(CourseImportTest, APrettyPrintedListMatchesItsSongs) {
    test::MakePlayer("abc", "pass");
    OpenTestLibrary("abc");
    const std::string chart = "#TITLE a\r\n#00111:01\r\n";
    game.WriteFile("Songs/a/a.bms", chart);
    ASSERT_TRUE(TestRegisterRoot("Songs\\"));
    CloseTestLibrary();
    game.WriteFile(kList,
                   "<courselist>\n  <course>\n    <title>\n      Two  Words\n    </title>\n"
                   "    <line> 4 </line>\n    <hash>\n      " +
                       Md5Hex(chart) +
                       "\n    </hash>\n    <type>0</type>\n  </course>\n</courselist>\n");
    ASSERT_EQ(Import(kListInternal).count, 1);
    Database db;
    ASSERT_TRUE(db.Open(kSongDbPath, Database::Mode::OpenExisting));
    Statement s =
        db.Prepare("SELECT expert.title FROM expert JOIN song ON song.hash = expert.hash");
    ASSERT_TRUE(s.Step());
    EXPECT_EQ(s.Text(0), "Two  Words");
}

TEST_F(CourseImportTest, UnreadableListsStayOnDisk) {
    const std::string failed = U(u8"コースリストの読み込みに失敗しました。");
    for (const std::string& content :
         {std::string("not xml <"),
          std::string("<courses>" + Course("a", 1, "h", "0") + "</courses>"),
          std::string("<courselist><other/></courselist>"), std::string("")}) {
        game.WriteFile(kList, content);
        const CourseImport r = Import(kListInternal);
        EXPECT_EQ(r.count, 0);
        EXPECT_FALSE(r.consumed);
        EXPECT_EQ(Cp932ToUtf8(r.error), failed);
        ASSERT_EQ(r.notices.size(), 1u);
        EXPECT_EQ(Cp932ToUtf8(r.notices[0].caption), U(u8"エラー"));
        EXPECT_EQ(game.ReadFile(kList), content);
    }
    EXPECT_EQ(Cp932ToUtf8(Import("QV5files\\missing.xml").error), failed);
}

TEST_F(CourseImportTest, ReadableListWithoutValidRowsIsConsumed) {
    game.WriteFile(kList, "<courselist><info/>" + Course("a", 1, "h", "3") +
                              "<course><type>-1</type></course></courselist>");
    const CourseImport r = Import(kListInternal);
    EXPECT_EQ(r.count, 0);
    EXPECT_TRUE(r.consumed);
    EXPECT_TRUE(r.notices.empty());
    EXPECT_FALSE(game.Exists(kList));
}

TEST_F(CourseImportTest, RefusedRowsAreReportedAndTheRestStored) {
    {
        Database db;
        ASSERT_TRUE(db.Open(kSongDbPath));
        ASSERT_TRUE(db.Exec(
            "CREATE TABLE grade(id INTEGER primary key,title TEXT CHECK(title <> 'bad'),line "
            "INTEGER,hash TEXT,ir INTEGER)"));
    }
    game.WriteFile(kList, "<courselist>" + Course("bad", 1, "h", "2") +
                              Course("good", 2, "h", "2") + "</courselist>");
    const CourseImport r = Import(kListInternal);
    EXPECT_EQ(r.count, 1);
    EXPECT_TRUE(r.consumed);
    ASSERT_EQ(r.notices.size(), 1u);
    EXPECT_EQ(Cp932ToUtf8(r.notices[0].text), U(u8"コースを追加できません。"));
    EXPECT_NE(r.notices[0].caption.find("CHECK constraint failed"), std::string::npos)
        << r.notices[0].caption;
    EXPECT_EQ(Rows(), std::vector<std::string>{"grade|good|2|h|1"});
}

TEST_F(CourseImportTest, FailedCommitKeepsTheFile) {
    {
        Database db;
        ASSERT_TRUE(db.Open(kSongDbPath));
        CreateCourseTables(db);
    }
    // Another reader in the middle of a transaction: the import's commit
    // cannot get the file for itself.
    Database reader;
    ASSERT_TRUE(reader.Open(kSongDbPath));
    ASSERT_TRUE(reader.Exec("BEGIN"));
    Statement read = reader.Prepare("SELECT count(*) FROM expert");
    ASSERT_TRUE(read.Step());
    const std::string content = "<courselist>" + Course("a", 1, "h", "0") + "</courselist>";
    game.WriteFile(kList, content);
    const CourseImport r = Import(kListInternal, /*busy_ms=*/100);
    EXPECT_EQ(r.count, 0);
    EXPECT_FALSE(r.consumed);
    EXPECT_FALSE(r.error.empty());
    EXPECT_EQ(game.ReadFile(kList), content);
    read = Statement();
    reader.Exec("COMMIT");
    reader.Close();
    EXPECT_TRUE(Rows().empty());
    // Once the library is free, the same file goes in.
    EXPECT_EQ(Import(kListInternal).count, 1);
    EXPECT_FALSE(game.Exists(kList));
}

// A list read from its bytes is the list read from the file: the same
// verdict, entries and values.
TEST(XmlList, BytesReadAsTheFile) {
    test::TempGame game;
    const std::string lists[] = {
        "",
        "<courselist>",
        "<courselist><other/></courselist>",
        "<courselist>" + Course(Sj(u8" 段位 "), 3, "h1", "2") + Course("b", -4, "", "x") +
            "</courselist>",
        "\xEF\xBB\xBF<courselist>" + Course(U(u8"十段"), 1, "h", "0") + "</courselist>",
        "<?xml version='1.0' encoding='UTF8'?><courselist>" + Course("u", 2, " h ", "1") +
            "</courselist>",
    };
    for (const std::string& bytes : lists) {
        SCOPED_TRACE(bytes);
        game.WriteFile(kList, bytes);
        XmlList from_file, from_bytes;
        const bool read = LoadXmlList(kListInternal, "courselist", "course", from_file);
        ASSERT_EQ(ParseXmlList(bytes, "courselist", "course", from_bytes), read);
        if (!read) continue;
        EXPECT_EQ(from_bytes.utf8, from_file.utf8);
        const auto* a = from_file.first;
        const auto* b = from_bytes.first;
        for (; a && b; a = a->NextSiblingElement(), b = b->NextSiblingElement()) {
            for (const char* name : {"title", "hash"})
                EXPECT_EQ(EntryTextUtf8(from_bytes, b, name), EntryTextUtf8(from_file, a, name));
            for (const char* name : {"type", "line"})
                EXPECT_EQ(EntryNumber(b, name), EntryNumber(a, name));
        }
        EXPECT_EQ(a, nullptr);
        EXPECT_EQ(b, nullptr);
    }
    XmlList list;
    ASSERT_TRUE(ParseXmlList("<courselist>" + Course(Sj(u8"段位"), 7, "h", "2") + "</courselist>",
                             "courselist", "course", list));
    EXPECT_EQ(EntryTextUtf8(list, list.first, "title"), U(u8"段位"));
    EXPECT_EQ(EntryNumber(list.first, "line"), 7);
}

}  // namespace
}  // namespace qv5
