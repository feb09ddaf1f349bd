// The information panel's lines, from records and from real charts with the
// current player's scores.
#include "browser/song_info.h"

#include <gtest/gtest.h>

#include <QLabel>

#include "library/file_hash.h"
#include "library/scanner.h"
#include "library/song_library.h"
#include "platform/text.h"
#include "support/players.h"
#include "support/temp_game.h"
#include "support/test_library.h"
#include "window/common/controls.h"
#include "window/main/main_window.h"
#include "window/pages/song_info_panel.h"
#include "window/pages/song_info_panel_ids.h"

namespace qv5 {
namespace {

std::string U(const char8_t* s) {
    return reinterpret_cast<const char*>(s);
}

std::vector<std::string> Utf8(const SongInfo& lines) {
    std::vector<std::string> out;
    for (const std::string& l : lines) out.push_back(Cp932ToUtf8(l));
    return out;
}

TEST(SongInfoLines, FormatsEachLine) {
    struct Case {
        const char* what;
        ChartRecord r;
        int line;
        std::string want;
    };
    auto rec = [](auto change) {
        ChartRecord r;
        change(r);
        return r;
    };
    const Case cases[] = {
        {"title", rec([](ChartRecord& r) { r.title = "T"; }), 0, "[TITLE] T"},
        {"title and subtitle", rec([](ChartRecord& r) { r.title = "T", r.subtitle = "[A]"; }), 0,
         "[TITLE] T [A]"},
        {"genre", rec([](ChartRecord& r) { r.genre = "G"; }), 1, "[GENRE] G"},
        {"artist", rec([](ChartRecord& r) { r.artist = "A"; }), 2, "[ARTIST] A"},
        {"artist and subartist", rec([](ChartRecord& r) { r.artist = "A", r.subartist = "S"; }), 2,
         "[ARTIST]A/S"},
        {"no artist but a subartist", rec([](ChartRecord& r) { r.subartist = "S"; }), 2,
         "[ARTIST]/S"},
        {"level 12 exlevel 3", rec([](ChartRecord& r) { r.level = 12, r.exlevel = 3; }), 3,
         U(u8"[LEVEL] ☆12 / ★3")},
        {"level 12 exlevel 0", rec([](ChartRecord& r) { r.level = 12; }), 3, "[LEVEL] 12"},
        {"negative exlevel", rec([](ChartRecord& r) { r.level = 4, r.exlevel = -2; }), 3,
         "[LEVEL] 4"},
        {"500 notes 300/150", rec([](ChartRecord& r) {
             r.clear = 3, r.perfect = 300, r.great = 150, r.note_count = 500;
         }),
         4, "[SCORE] 750/1000 (75%) CLEAR"},
        {"500 notes 299/151", rec([](ChartRecord& r) {
             r.clear = 2, r.perfect = 299, r.great = 151, r.note_count = 500;
         }),
         4, "[SCORE] 749/1000 (74%) EASY"},
        {"fail", rec([](ChartRecord& r) { r.clear = 1, r.great = 1, r.note_count = 1; }), 4,
         "[SCORE] 1/2 (50%) FAIL"},
        {"hard clear", rec([](ChartRecord& r) { r.clear = 4, r.note_count = 10; }), 4,
         "[SCORE] 0/20 (0%) HARD CLEAR"},
        {"full combo", rec([](ChartRecord& r) { r.clear = 5, r.perfect = 10, r.note_count = 10; }),
         4, "[SCORE] 20/20 (100%) FULL COMBO"},
        {"unknown clear kind",
         rec([](ChartRecord& r) { r.clear = 7, r.perfect = 1, r.note_count = 4; }), 4,
         "[SCORE] 2/8 (25%) "},
        {"huge counts", rec([](ChartRecord& r) {
             r.clear = 3, r.perfect = 2000000000, r.great = 2000000000, r.note_count = 2000000000;
         }),
         4, "[SCORE] 6000000000/4000000000 (150%) CLEAR"},
        {"not cleared", rec([](ChartRecord& r) { r.perfect = 5, r.note_count = 5; }), 4,
         "[SCORE] NOT PLAYED"},
        {"no notes", rec([](ChartRecord& r) { r.clear = 3, r.perfect = 5; }), 4,
         "[SCORE] NOT PLAYED"},
        {"five keys", ChartRecord{}, 5, "[MODE] 5KEYS"},
        {"nine buttons", rec([](ChartRecord& r) { r.mode = 9; }), 5, "[MODE] 9BUTTONS"},
        {"fourteen keys", rec([](ChartRecord& r) { r.mode = 14; }), 5, "[MODE] 14KEYS"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(Cp932ToUtf8(SongInfoLines(c.r)[static_cast<size_t>(c.line)]), c.want);
    }
}

class SongInfoTest : public ::testing::Test {
  protected:
    void SetUp() override {
        test::MakePlayer("abc", "pass");
        OpenTestLibrary("abc");
    }
    void TearDown() override { CloseTestLibrary(); }
    test::TempGame game;
};

TEST_F(SongInfoTest, LibraryChartsShowThePlayersScoreOthersTheirHeader) {
    game.WriteFile("songs/a.bme",
                   "#TITLE Alpha [HYPER]\n#GENRE Eurobeat\n#ARTIST X\n#SUBARTIST Y\n"
                   "#PLAYLEVEL 12\n#EXLEVEL 3\n#00118:0101\n");
    game.WriteFile("songs/p.pms", "#TITLE Pop\n#PLAYLEVEL 40\n#00111:01\n");
    game.WriteFile("loose/b.bms", "#TITLE Beta\n#ARTIST Z\n#PLAYLEVEL 5\n#00111:0101\n");
    ASSERT_TRUE(TestRegisterRoot("songs\\"));
    const std::string hash = FileHash("songs\\a.bme").value();
    ASSERT_TRUE(TestDb().Exec("INSERT INTO score (hash,clear,perfect,great,totalnotes) VALUES('" +
                              hash + "',4,300,150,500)"));
    // The game body's own edit of the song row shows, not the file's header.
    ASSERT_TRUE(TestDb().Exec("UPDATE song SET genre='Trance' WHERE hash='" + hash + "'"));

    EXPECT_EQ(Utf8(SongInfoLines(TestLibrary(), WinPath("songs\\a.bme"))),
              (std::vector<std::string>{"[TITLE] Alpha  [HYPER]", "[GENRE] Trance", "[ARTIST]X/Y",
                                        U(u8"[LEVEL] ☆12 / ★3"),
                                        "[SCORE] 750/1000 (75%) HARD CLEAR", "[MODE] 7KEYS"}));
    EXPECT_EQ(Utf8(SongInfoLines(TestLibrary(), WinPath("songs\\p.pms"))),
              (std::vector<std::string>{"[TITLE] Pop", "[GENRE] ", "[ARTIST] ", "[LEVEL] 40",
                                        "[SCORE] NOT PLAYED", "[MODE] 9BUTTONS"}));
    // Not in the library: the header's values; its note count is no score.
    EXPECT_EQ(Utf8(SongInfoLines(TestLibrary(), WinPath("loose\\b.bms"))),
              (std::vector<std::string>{"[TITLE] Beta", "[GENRE] ", "[ARTIST] Z", "[LEVEL] 5",
                                        "[SCORE] NOT PLAYED", "[MODE] 5KEYS"}));
    EXPECT_EQ(SongInfoLines(TestLibrary(), WinPath("songs\\gone.bms")), SongInfo{});
}

TEST_F(SongInfoTest, ThePanelShowsChartItemsAndEmptiesForEveryOtherItem) {
    game.WriteFile("songs/a.bms", "#TITLE Alpha\n#00111:01\n");
    game.WriteFile("songs/readme.txt", "#TITLE Text\n#00111:01\n");
    game.WriteFile("songs/hidden.bm_", "#TITLE Hidden\n#00111:01\n");
    ASSERT_TRUE(TestRegisterRoot("songs\\"));
    MainWindow window;
    ASSERT_TRUE(window.Library().Open(""));
    auto* panel = window.findChild<SongInfoPanel*>();  // the one below the tree
    ASSERT_NE(panel, nullptr);
    auto texts = [&] {
        std::vector<std::string> out;
        for (int id = song_info_id::kFirstLine; id <= song_info_id::kLastLine; ++id)
            out.push_back(FromQString(Control<QLabel>(&window, id)->text()));
        return out;
    };
    const std::vector<std::string> empty(6);
    const std::vector<std::string> alpha = {"[TITLE] Alpha", "[GENRE] ",           "[ARTIST] ",
                                            "[LEVEL] 0",     "[SCORE] NOT PLAYED", "[MODE] 5KEYS"};
    struct Case {
        int icon;
        std::string path;
        std::vector<std::string> want;
    } cases[] = {
        {2, "songs\\a.bms", alpha},
        {0, "songs", empty},
        {2, "songs\\a.bms", alpha},
        {1, "songs", empty},
        {3, "songs\\readme.txt", empty},
        {6, "songs\\hidden.bm_", empty},
        {4, "songs", empty},
        {5, "songs", empty},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path + " icon " + std::to_string(c.icon));
        panel->ShowItem(c.icon, c.path);
        EXPECT_EQ(texts(), c.want);
    }
    // After a play or an edit the window shows the chart again, read afresh.
    ASSERT_TRUE(TestDb().Exec("UPDATE song SET title='Edited'"));
    window.UpdateSongInformation("songs\\a.bms");
    EXPECT_EQ(texts()[0], "[TITLE] Edited");
}

}  // namespace
}  // namespace qv5
