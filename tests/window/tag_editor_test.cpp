// The tag editor on real charts registered in a temporary game folder.
#include "library/tag_editor.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <map>

#include "browser/song_info.h"
#include "library/file_hash.h"
#include "library/rescan.h"
#include "library/scanner.h"
#include "library/song_library.h"
#include "platform/text.h"
#include "support/library_rows.h"
#include "support/players.h"
#include "support/scripted_ui.h"
#include "support/temp_game.h"
#include "support/test_library.h"
#include "window/common/controls.h"
#include "window/dialogs/tag_editor_dialog.h"
#include "window/dialogs/tag_editor_dialog_ids.h"

namespace qv5 {
namespace {

using namespace tag_editor_id;

std::string U(const char8_t* s) {
    return reinterpret_cast<const char*>(s);
}

const char* const kChart =
    "#TITLE Song [ANOTHER]\r\n#ARTIST Someone\r\n#GENRE Trance\r\n#PLAYLEVEL 7\r\n"
    "#EXLEVEL 2\r\n#00111:01010101\r\n";
const char* const kPlainChart = "#TITLE Plain\r\n#PLAYLEVEL 3\r\n#00111:01\r\n";

const char* const kSongColumns =
    "SELECT path,title,subtitle,genre,artist,subartist,tag,level,difficulty,mode,favorite,exlevel "
    "FROM song ORDER BY path";
const char* const kTagColumns =
    "SELECT hash,title,subtitle,genre,artist,subartist,tag,level,difficulty,mode,exlevel FROM tag";

// Typed values by control id; the check box is kFavorite ("1" ticks it).
using Typed = std::map<int, std::string>;

// Types into the dialog and presses OK; records what the dialog showed first.
std::function<int(QDialog&)> Type(Typed typed, Typed* shown = nullptr) {
    return [typed, shown](QDialog& d) {
        if (shown)
            for (int id :
                 {kTitle, kSubtitle, kGenre, kArtist, kSubartist, kLevel, kExLevel, kDifficulty})
                (*shown)[id] = FromQString(Control<QLineEdit>(&d, id)->text());
        for (const auto& [id, text] : typed) {
            if (id == kFavorite)
                Control<QCheckBox>(&d, id)->setChecked(text == "1");
            else
                Control<QLineEdit>(&d, id)->setText(ToQString(text));
        }
        Control<QPushButton>(&d, kIdOk)->click();
        return d.result();
    };
}

class TagEditorTest : public ::testing::Test {
  protected:
    void SetUp() override {
        test::MakePlayer("abc", "pass");
        OpenTestLibrary("abc");
    }
    void TearDown() override { CloseTestLibrary(); }
    void Register(const std::string& root) { ASSERT_TRUE(TestRegisterRoot(root)); }
    std::string Hash(const std::string& path) { return FileHash(path).value_or("?"); }

    test::TempGame game;
    test::ScopedScriptedUi ui;
};

TEST_F(TagEditorTest, TypedNumbersAreHeldToTheirRanges) {
    game.WriteFile("songs/a.bms", kChart);
    Register("songs\\");
    struct Case {
        std::string level, exlevel, difficulty;
        std::string stored;  // level|difficulty|exlevel
    } cases[] = {
        {"12", "3", "9", "12|5|3"},
        {"7", "0", "0", "7|0|0"},
        {"0", "-4", "-1", "0|0|0"},
        {"-1", "x", "abc", "0|0|0"},
        {" +5z", " 2", " 3rd", "5|3|2"},
        {"1", "1", "5", "1|5|1"},
        {"99999999999", "", "1", "2147483647|1|0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.level + "/" + c.exlevel + "/" + c.difficulty);
        ui->AnswerDialog(
            Type({{kLevel, c.level}, {kExLevel, c.exlevel}, {kDifficulty, c.difficulty}}));
        ASSERT_TRUE(EditTags(nullptr, TestLibrary(), "songs\\a.bms"));
        EXPECT_EQ(test::QueryRows("SELECT level,difficulty,exlevel FROM song"),
                  std::vector<std::string>{c.stored});
        EXPECT_EQ(test::QueryRows("SELECT level,difficulty,exlevel FROM tag"),
                  std::vector<std::string>{c.stored});
    }
}

TEST_F(TagEditorTest, EveryCopyChangesAndTheTagRowIsInsertedThenUpdated) {
    game.WriteFile("songs/one/a.bms", kChart);
    game.WriteFile("songs/two/copy.bms", kChart);
    Register("songs\\");
    const std::string hash = Hash("songs\\one\\a.bms");

    Typed shown;
    ui->AnswerDialog(Type({{kTitle, "New"},
                           {kSubtitle, "[X]"},
                           {kGenre, "G"},
                           {kArtist, "A"},
                           {kSubartist, "B"},
                           {kFavorite, "1"}},
                          &shown));
    ASSERT_TRUE(EditTags(nullptr, TestLibrary(), "songs\\two\\copy.bms"));
    EXPECT_EQ(shown, (Typed{{kTitle, "Song"},
                            {kSubtitle, " [ANOTHER]"},
                            {kGenre, "Trance"},
                            {kArtist, "Someone"},
                            {kSubartist, ""},
                            {kLevel, "7"},
                            {kExLevel, "2"},
                            {kDifficulty, "4"}}));
    EXPECT_EQ(test::QueryRows(kSongColumns),
              (std::vector<std::string>{"songs\\one\\a.bms|New|[X]|G|A|B||7|4|5|1|2",
                                        "songs\\two\\copy.bms|New|[X]|G|A|B||7|4|5|1|2"}));
    EXPECT_EQ(test::QueryRows(kTagColumns),
              std::vector<std::string>{hash + "|New|[X]|G|A|B||7|4|5|2"});

    // The second save updates every column of the same row.
    ui->AnswerDialog(Type({{kTitle, "Again"},
                           {kSubtitle, ""},
                           {kGenre, "g2"},
                           {kArtist, "a2"},
                           {kSubartist, ""},
                           {kLevel, "11"},
                           {kExLevel, "0"},
                           {kDifficulty, "2"},
                           {kFavorite, "0"}}));
    ASSERT_TRUE(EditTags(nullptr, TestLibrary(), "songs\\one\\a.bms"));
    EXPECT_EQ(test::QueryRows(kTagColumns),
              std::vector<std::string>{hash + "|Again||g2|a2|||11|2|5|0"});
    EXPECT_EQ(test::QueryRows("SELECT DISTINCT title,favorite,level FROM song"),
              std::vector<std::string>{"Again|0|11"});
}

TEST_F(TagEditorTest, LongTextsSurviveTheDialogUncut) {
    const std::string title(90000, 'T');
    game.WriteFile("songs/long.bms", "#TITLE " + title + "\r\n#00111:01\r\n");
    Register("songs\\");
    ui->AnswerDialog(Type({{kArtist, std::string(70000, 'A')}}));
    ASSERT_TRUE(EditTags(nullptr, TestLibrary(), "songs\\long.bms"));
    EXPECT_EQ(test::QueryRows("SELECT title,artist FROM song"),
              std::vector<std::string>{title + "|" + std::string(70000, 'A')});
    EXPECT_EQ(test::QueryRows("SELECT title,artist FROM tag"),
              std::vector<std::string>{title + "|" + std::string(70000, 'A')});
}

TEST_F(TagEditorTest, AnUnknownDifficultyShowsMinusOneAndIsStoredAsZero) {
    game.WriteFile("songs/plain.bms", kPlainChart);
    Register("songs\\");
    ASSERT_EQ(test::QueryRows("SELECT difficulty FROM song"), std::vector<std::string>{"-1"});
    Typed shown;
    ui->AnswerDialog(Type({}, &shown));
    ASSERT_TRUE(EditTags(nullptr, TestLibrary(), "songs\\plain.bms"));
    EXPECT_EQ(shown[kDifficulty], "-1");
    EXPECT_EQ(test::QueryRows("SELECT difficulty FROM song"), std::vector<std::string>{"0"});
    EXPECT_EQ(test::QueryRows("SELECT difficulty FROM tag"), std::vector<std::string>{"0"});
}

TEST_F(TagEditorTest, RestoreReadsTheFileAndKeepsADifficultyItCannotTell) {
    game.WriteFile("songs/plain.bms", kPlainChart);
    game.WriteFile("songs/hint.bms", kChart);
    Register("songs\\");
    struct Case {
        std::string chart;
        Typed after;  // the fields after restore
    } cases[] = {
        {"songs\\plain.bms",
         {{kTitle, "Plain"},
          {kSubtitle, ""},
          {kGenre, ""},
          {kArtist, ""},
          {kSubartist, ""},
          {kLevel, "3"},
          {kExLevel, "0"},
          {kDifficulty, "2"}}},
        {"songs\\hint.bms",
         {{kTitle, "Song"},
          {kSubtitle, " [ANOTHER]"},
          {kGenre, "Trance"},
          {kArtist, "Someone"},
          {kSubartist, ""},
          {kLevel, "7"},
          {kExLevel, "2"},
          {kDifficulty, "4"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.chart);
        Typed restored;
        ui->AnswerDialog([&](QDialog& d) {
            for (int id : {kTitle, kSubtitle, kGenre, kArtist, kSubartist, kLevel, kExLevel})
                Control<QLineEdit>(&d, id)->setText("edited");
            Control<QLineEdit>(&d, kDifficulty)->setText("2");
            Control<QCheckBox>(&d, kFavorite)->setChecked(true);
            Control<QPushButton>(&d, kRestore)->click();
            for (int id :
                 {kTitle, kSubtitle, kGenre, kArtist, kSubartist, kLevel, kExLevel, kDifficulty})
                restored[id] = FromQString(Control<QLineEdit>(&d, id)->text());
            EXPECT_TRUE(Control<QCheckBox>(&d, kFavorite)->isChecked());
            return int(QDialog::Rejected);  // nothing is saved before OK
        });
        EXPECT_FALSE(EditTags(nullptr, TestLibrary(), c.chart));
        EXPECT_EQ(restored, c.after);
    }
    EXPECT_TRUE(test::QueryRows(kTagColumns).empty());
    EXPECT_EQ(test::QueryRows("SELECT count(*) FROM song WHERE title='edited'"),
              std::vector<std::string>{"0"});
}

TEST_F(TagEditorTest, AChartOutsideTheLibraryWritesOnlyItsTagRow) {
    game.WriteFile("loose/x.bme", kChart);
    Typed shown;
    ui->AnswerDialog(Type({{kTitle, "Loose"}}, &shown));
    ASSERT_TRUE(EditTags(nullptr, TestLibrary(), "loose\\x.bme"));
    EXPECT_EQ(shown[kTitle], "Song");
    EXPECT_EQ(shown[kDifficulty], "4");
    EXPECT_TRUE(test::QueryRows(kSongColumns).empty());
    EXPECT_EQ(test::QueryRows(kTagColumns),
              std::vector<std::string>{Hash("loose\\x.bme") +
                                       "|Loose| [ANOTHER]|Trance|Someone|||7|4|5|2"});
}

// A rescan rebuilds `song` from the files and leaves the edit in `tag` only;
// the panel and the editor show it from there, so OK keeps it.
TEST_F(TagEditorTest, AfterARescanTheTagRowIsWhatIsShownAndEdited) {
    game.WriteFile("songs/a.bms", kChart);
    Register("songs\\");
    const std::string hash = Hash("songs\\a.bms");
    ui->AnswerDialog(Type({{kTitle, "Mine"}, {kLevel, "11"}, {kExLevel, "0"}, {kDifficulty, "2"}}));
    ASSERT_TRUE(EditTags(nullptr, TestLibrary(), "songs\\a.bms"));
    LibraryReport report;
    ASSERT_TRUE(RescanLibrary(TestDb(), {"songs\\"}, nullptr, report));
    EXPECT_EQ(test::QueryRows("SELECT title,level,difficulty,exlevel FROM song"),
              std::vector<std::string>{"Song|7|4|2"});  // song.db keeps the header's values

    const SongInfo lines = SongInfoLines(TestLibrary(), WinPath("songs\\a.bms"));
    EXPECT_EQ(lines[0], "[TITLE] Mine  [ANOTHER]");
    EXPECT_EQ(lines[3], "[LEVEL] 11");
    Typed shown;
    ui->AnswerDialog(Type({{kGenre, "Edited"}}, &shown));
    ASSERT_TRUE(EditTags(nullptr, TestLibrary(), "songs\\a.bms"));
    EXPECT_EQ(shown[kTitle], "Mine");
    EXPECT_EQ(shown[kLevel], "11");
    EXPECT_EQ(shown[kExLevel], "0");
    EXPECT_EQ(shown[kDifficulty], "2");
    EXPECT_EQ(test::QueryRows(kTagColumns),
              std::vector<std::string>{hash + "|Mine| [ANOTHER]|Edited|Someone|||11|2|5|0"});
}

// tag.db is attached for a player without a database too, so the tags stay.
TEST_F(TagEditorTest, WithoutAPlayerDatabaseTheTagsAreStillKept) {
    game.WriteFile("songs/a.bms", kChart);
    Register("songs\\");
    OpenTestLibrary("nobody");  // no player database
    ui->AnswerDialog(Type({{kTitle, "Quiet"}}));
    EXPECT_TRUE(EditTags(nullptr, TestLibrary(), "songs\\a.bms"));
    EXPECT_EQ(test::QueryRows("SELECT title FROM song"), std::vector<std::string>{"Quiet"});
    EXPECT_TRUE(ui->MessageTexts().empty());
    OpenTestLibrary("abc");
    EXPECT_EQ(test::QueryRows(kTagColumns).size(), 1u);
}

TEST_F(TagEditorTest, CancelWritesNothingAndAnUnreadableChartOpensNoDialog) {
    game.WriteFile("songs/a.bms", kChart);
    Register("songs\\");
    ui->AnswerDialog([](QDialog& d) {
        Control<QLineEdit>(&d, kTitle)->setText("Changed");
        Control<QPushButton>(&d, kIdCancel)->click();
        return d.result();
    });
    EXPECT_FALSE(EditTags(nullptr, TestLibrary(), "songs\\a.bms"));
    EXPECT_EQ(test::QueryRows("SELECT title FROM song"), std::vector<std::string>{"Song"});
    EXPECT_TRUE(test::QueryRows(kTagColumns).empty());

    ui->AnswerMessage(MsgAnswer::Ok);
    EXPECT_FALSE(EditTags(nullptr, TestLibrary(), "songs\\gone.bms"));
    ASSERT_EQ(ui->prompts().size(), 2u);
    EXPECT_EQ(ui->prompts()[1].kind, "message");
    EXPECT_EQ(ui->prompts()[1].Utf8Caption(), U(u8"エラー"));
}

TEST_F(TagEditorTest, AFolderItemEditsItsFolderRow) {
    game.WriteFile("songs/sub/a.bms", kChart);
    Register("songs\\");
    const char* const kFolder =
        "SELECT title,subtitle,category,info_a,info_b,command,max FROM folder WHERE "
        "path='songs\\sub\\'";
    ASSERT_TRUE(TestDb().Exec("UPDATE folder SET command='cmd' WHERE path='songs\\sub\\'"));
    Typed shown;
    bool disabled = false;
    ui->AnswerDialog([&](QDialog& d) {
        disabled = !Control<QLineEdit>(&d, kExLevel)->isEnabled() &&
                   !Control<QLineEdit>(&d, kDifficulty)->isEnabled() &&
                   !Control<QCheckBox>(&d, kFavorite)->isEnabled() &&
                   !Control<QPushButton>(&d, kRestore)->isEnabled();
        return Type({{kTitle, "It's"},
                     {kSubtitle, "s"},
                     {kGenre, "cat"},
                     {kArtist, "ia"},
                     {kSubartist, "ib"},
                     {kLevel, "9"}},
                    &shown)(d);
    });
    ASSERT_TRUE(EditTags(nullptr, TestLibrary(), "songs\\sub", true));
    EXPECT_TRUE(disabled);
    EXPECT_EQ(shown[kTitle], "sub");
    EXPECT_EQ(test::QueryRows(kFolder), std::vector<std::string>{"It's|s|cat|ia|ib|cmd|9"});
    EXPECT_EQ(test::QueryRows("SELECT title FROM song"), std::vector<std::string>{"Song"});
    EXPECT_TRUE(test::QueryRows(kTagColumns).empty());

    ui->AnswerMessage(MsgAnswer::Ok);
    EXPECT_FALSE(EditTags(nullptr, TestLibrary(), "elsewhere", true));
    EXPECT_EQ(ui->prompts().back().Utf8Caption(), U(u8"エラー"));
}

}  // namespace
}  // namespace qv5
