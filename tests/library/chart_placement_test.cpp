// Where an additional chart belongs, on a song tree written into a temporary
// game folder: thirty songs that all hold 1.wav ... 9.wav and bgm.wav beside
// names of their own, as libraries do, and the songs each case is about.
#include "library/chart_placement.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/text.h"
#include "support/temp_game.h"

namespace qv5 {
namespace {

namespace fs = std::filesystem;

std::string Id(size_t i) {
    static const char* kDigits = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    return {kDigits[(i + 1) / 36], kDigits[(i + 1) % 36]};
}

// A chart placing every sound it defines once.
std::string Chart(const std::string& title, const std::vector<std::string>& sounds) {
    std::string text = "#PLAYER 1\r\n#TITLE " + title + "\r\n";
    std::string objects;
    for (size_t i = 0; i < sounds.size(); ++i) {
        text += "#WAV" + Id(i) + " " + sounds[i] + "\r\n";
        objects += Id(i);
    }
    return text + "#00111:" + objects + "\r\n";
}

std::vector<std::string> Numbered(const std::string& prefix, int count, const std::string& ext) {
    std::vector<std::string> names;
    for (int i = 1; i <= count; ++i)
        names.push_back(prefix + (i < 10 ? "0" : "") + std::to_string(i) + ext);
    return names;
}

std::vector<std::string> Common() {
    std::vector<std::string> names = Numbered("", 9, ".wav");
    for (std::string& n : names) n.erase(0, 1);  // 1.wav ... 9.wav
    names.push_back("bgm.wav");
    return names;
}

std::vector<std::string> operator+(std::vector<std::string> a, const std::vector<std::string>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

class ChartPlacementTest : public ::testing::Test {
  protected:
    void SetUp() override {
        for (int i = 0; i < 30; ++i) {
            const std::string dir = "Songs/Pack/filler" + std::to_string(i) + "/";
            Song(dir, "filler" + std::to_string(i) + ".bme", "Filler " + std::to_string(i),
                 Common() + Numbered("f" + std::to_string(i) + "_", 6, ".wav"));
        }
        Song("Songs/Pack/Alpha/", "alpha.bms", "Alpha [HYPER]",
             Common() + Numbered("kick_a", 12, ".wav"));
        Song("Songs/Pack/Oggy/", "oggy.bms", "Oggy", Common() + Numbered("oggy_", 12, ".ogg"));
        Song("Songs/Pack/Cased/", "cased.bms", "Cased", Numbered("CASE_", 12, ".WAV"));
        Song("Songs/Pack/Sub/", "sub.bms", "Sub", {"bgm.wav"});
        for (const std::string& n : Numbered("sub_", 12, ".wav"))
            game_.WriteFile("Songs/Pack/Sub/wav/" + n, "");
        // One song twice: the original, and a remaster with two sounds more.
        Song("Songs/Old/Remix/", "remix_n.bms", "Remix [NORMAL]", Numbered("remix_", 10, ".wav"));
        Song("Songs/New/Remix 2020/", "remix2020.bms", "Remix 2020",
             Numbered("remix_", 12, ".wav"));
        game_.WriteFile("Songs/list.qv5folder", "#TITLE list\r\n");
        const auto now = fs::file_time_type::clock::now();
        fs::last_write_time(game_.HostPath("Songs/Old/Remix"), now - std::chrono::hours(24 * 400));
        fs::last_write_time(game_.HostPath("Songs/New/Remix 2020"), now - std::chrono::hours(24));
        ASSERT_TRUE(index_.Build({"Songs", "Songs\\list.qv5folder", "Gone"}, nullptr));
    }

    void Song(const std::string& dir, const std::string& chart, const std::string& title,
              const std::vector<std::string>& sounds) {
        for (const std::string& s : sounds) game_.WriteFile(dir + s, "");
        game_.WriteFile(dir + chart, Chart(title, sounds));
    }

    test::TempGame game_;
    SongFolderIndex index_;
};

TEST_F(ChartPlacementTest, EachChartFindsTheFolderThatHoldsItsFiles) {
    struct Case {
        const char* what;
        std::string chart;
        std::string folder;  // empty: no folder fits
        bool certain;
        long found, used;
    };
    const std::vector<Case> cases = {
        {"its own folder exactly",
         Chart("Alpha [ANOTHER]", Common() + Numbered("kick_a", 12, ".wav")),
         "Songs\\Pack\\Alpha\\", true, 22, 22},
        {"wav named, ogg held", Chart("Oggy X", Numbered("oggy_", 12, ".wav")),
         "Songs\\Pack\\Oggy\\", true, 12, 12},
        {"other case", Chart("Cased X", Numbered("case_", 12, ".wav")), "Songs\\Pack\\Cased\\",
         true, 12, 12},
        {"sounds in a sub-folder", Chart("Sub X", Numbered("wav\\sub_", 12, ".wav")),
         "Songs\\Pack\\Sub\\", true, 12, 12},
        {"80% found",
         Chart("Alpha X", Numbered("kick_a", 12, ".wav") + Numbered("new_", 3, ".wav")),
         "Songs\\Pack\\Alpha\\", true, 12, 15},
        {"below 80%",
         Chart("Alpha X", Numbered("kick_a", 12, ".wav") + Numbered("new_", 4, ".wav")), "", false,
         0, 0},
        {"fewer than five names", Chart("Alpha X", Numbered("kick_a", 4, ".wav")), "", false, 0, 0},
        {"a song the player lacks", Chart("Gone", Numbered("gone_", 20, ".wav") + Common()), "",
         false, 0, 0},
        {"common names only", Chart("Anything", Common()), "?", false, 10, 10},
        {"the remaster by its share", Chart("Remix [ANOTHER]", Numbered("remix_", 12, ".wav")),
         "Songs\\New\\Remix 2020\\", true, 12, 12},
        {"the original by its title", Chart("Remix [ANOTHER]", Numbered("remix_", 10, ".wav")),
         "Songs\\Old\\Remix\\", true, 10, 10},
        {"the newer without a title", Chart("Other", Numbered("remix_", 10, ".wav")),
         "Songs\\New\\Remix 2020\\", true, 10, 10},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const auto p = PlaceChartBytes(index_, c.chart);
        if (c.folder.empty()) {
            EXPECT_FALSE(p) << p->folder;
            continue;
        }
        ASSERT_TRUE(p);
        if (c.folder != "?") {
            EXPECT_EQ(p->folder, c.folder);
        }
        EXPECT_EQ(p->certain, c.certain) << p->weight << " " << p->lead;
        EXPECT_EQ(p->found, c.found);
        EXPECT_EQ(p->used, c.used);
    }
}

TEST_F(ChartPlacementTest, CommonNamesWeighLessThanASongsOwn) {
    const auto common = PlaceChartBytes(index_, Chart("x", Common()));
    const auto own = PlaceChartBytes(index_, Chart("x", Numbered("kick_a", 10, ".wav")));
    ASSERT_TRUE(common && own);
    // Ten names in 31 of 37 folders weigh less than one name held once.
    EXPECT_LT(common->weight, 0.6);
    EXPECT_DOUBLE_EQ(own->weight, 10.0);
    EXPECT_GT(own->lead, 0.9);
    // Six own names among the common ones are enough; two are not.
    const auto six = PlaceChartBytes(index_, Chart("x", Common() + Numbered("f3_", 6, ".wav")));
    const auto two = PlaceChartBytes(index_, Chart("x", Common() + Numbered("f3_", 2, ".wav")));
    ASSERT_TRUE(six && two);
    EXPECT_EQ(six->folder, "Songs\\Pack\\filler3\\");
    EXPECT_TRUE(six->certain);
    EXPECT_EQ(two->folder, "Songs\\Pack\\filler3\\");
    EXPECT_FALSE(two->certain) << two->weight;
}

TEST_F(ChartPlacementTest, WhatTheProgramInstallsIsTakenIn) {
    const std::string chart = Chart("Late", Numbered("late_", 8, ".wav"));
    EXPECT_FALSE(PlaceChartBytes(index_, chart));
    for (const std::string& n : Numbered("late_", 8, ".ogg"))
        game_.WriteFile("Songs/Late/" + n, "");
    index_.Add(WinPath("Songs\\Late"),
               Numbered("late_", 8, ".ogg") + std::vector<std::string>{"late.bms"});
    const auto p = PlaceChartBytes(index_, chart);
    ASSERT_TRUE(p);
    EXPECT_EQ(p->folder, "Songs\\Late\\");
    EXPECT_TRUE(p->certain);
    EXPECT_EQ(index_.folder(index_.FolderCount() - 1).charts, std::vector<std::string>{"late.bms"});
}

TEST_F(ChartPlacementTest, ReadsTheChartFileAndSaysItsShare) {
    game_.WriteFile("extra.bme",
                    Chart("Alpha [EX]", Numbered("kick_a", 12, ".wav") + Numbered("x", 1, ".wav")));
    const auto p = PlaceChart(index_, WinPath("extra.bme"));
    ASSERT_TRUE(p);
    EXPECT_EQ(p->folder, "Songs\\Pack\\Alpha\\");
    EXPECT_EQ(Cp932ToUtf8(PlacementShare(*p)), "13 個中 12 個の音が見つかりました");
    EXPECT_FALSE(PlaceChart(index_, WinPath("missing.bme")));
    // The custom-folder file and the missing root add no folder.
    EXPECT_EQ(index_.FolderCount(), 36u);
}

// An archive's charts placed together, their reading shared among threads
// and their weighing among charts of one set of names, come out as each
// placed alone.
TEST_F(ChartPlacementTest, AnArchivesChartsAsEachAlone) {
    std::vector<std::string> charts;
    for (int i = 0; i < 12; ++i)
        charts.push_back(
            Chart("Alpha [" + std::to_string(i) + "]", Numbered("kick_a", 12, ".wav")));
    charts.push_back(Chart("Remix [ANOTHER]", Numbered("remix_", 10, ".wav")));
    charts.push_back(Chart("Other", Numbered("remix_", 10, ".wav")));
    charts.push_back(Chart("Gone", Numbered("gone_", 20, ".wav")));
    for (int i = 0; i < 10; ++i)
        charts.push_back(Chart("F", Common() + Numbered("f" + std::to_string(i) + "_", 6, ".wav")));
    const std::vector<std::string_view> views(charts.begin(), charts.end());
    const auto placed = PlaceCharts(index_, views);
    ASSERT_EQ(placed.size(), charts.size());
    for (size_t i = 0; i < charts.size(); ++i) {
        SCOPED_TRACE(i);
        const auto alone = PlaceChartBytes(index_, charts[i]);
        ASSERT_EQ(placed[i].has_value(), alone.has_value());
        if (!alone) continue;
        EXPECT_EQ(placed[i]->folder, alone->folder);
        EXPECT_EQ(placed[i]->found, alone->found);
        EXPECT_EQ(placed[i]->certain, alone->certain);
    }
    EXPECT_EQ(placed[12]->folder, "Songs\\Old\\Remix\\");
    EXPECT_EQ(placed[13]->folder, "Songs\\New\\Remix 2020\\");
    EXPECT_FALSE(placed[14]);
    EXPECT_EQ(placed[15]->folder, "Songs\\Pack\\filler0\\");
}

TEST(SongTitleBase, DropsTheBracketedSuffix) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"Song [ANOTHER]", "song"},
        {"Song (HYPER)", "song"},
        {"Song", "song"},
        {"Song [A] [B]", "song [a]"},
        {"[Only]", "[only]"},
        {"Song [\x83\x5D", "song [\x83\x5D"},       // ゾ: its trail byte is no bracket
        {"Song \x81\x79\x8D\x95\x81\x7A", "song"},  // 【黒】
        {"Song\x81\x69\x8D\x95\x81\x6A", "song"},   // （黒）
    };
    for (const auto& [title, base] : cases) EXPECT_EQ(SongTitleBase(title), base) << title;
}

}  // namespace
}  // namespace qv5
