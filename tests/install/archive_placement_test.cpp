// Which archives are staged for placement: those whose charts lack most of
// the sounds they use, told from the archive's entries without extracting it.
#include "install/archive_placement.h"

#include <gtest/gtest.h>

#include "support/temp_game.h"
#include "support/zip_writer.h"

namespace qv5 {
namespace {

using test::File;

// A chart using the sounds s1.wav ... s12.wav.
std::string Chart() {
    std::string text = "#PLAYER 1\r\n#TITLE t\r\n", objects;
    for (int i = 1; i <= 12; ++i) {
        const std::string id = (i < 10 ? "0" : "") + std::to_string(i);
        text += "#WAV" + id + " s" + std::to_string(i) + ".wav\r\n";
        objects += id;
    }
    return text + "#00111:" + objects + "\r\n";
}

std::vector<test::ZipItem> Sounds(const std::string& folder, int count, const char* ext) {
    std::vector<test::ZipItem> items;
    for (int i = 1; i <= count; ++i)
        items.push_back(File(folder + "S" + std::to_string(i) + ext, "x"));
    return items;
}

TEST(ArchivePlacement, OnlyAnArchiveLackingItsSoundsMayHoldAdditionalCharts) {
    test::TempGame game;
    const auto with = [](std::vector<test::ZipItem> items, std::vector<test::ZipItem> more) {
        items.insert(items.end(), more.begin(), more.end());
        return items;
    };
    const struct {
        const char* name;
        std::vector<test::ZipItem> items;
        bool additional;
    } cases[] = {
        {"chart alone", {File("d/x.bms", Chart())}, true},
        {"two of twelve sounds", with({File("d/x.bms", Chart())}, Sounds("d/", 2, ".wav")), true},
        {"its sounds", with({File("Song/x.bms", Chart())}, Sounds("Song/", 12, ".wav")), false},
        {"as ogg, in a sub-folder",
         with({File("Song/x.bms", Chart())}, Sounds("Song/wav/", 12, ".ogg")), false},
        {"half of them", with({File("Song/x.bms", Chart())}, Sounds("Song/", 6, ".wav")), false},
        {"no chart", Sounds("Song/", 3, ".wav"), false},
        {"a chart using nothing", {File("Song/x.bms", "#TITLE t\r\n#00111:01\r\n")}, false},
    };
    for (const auto& c : cases) {
        const std::string zip = std::string(c.name) + ".zip";
        test::WriteZip(game.HostPath(zip), c.items);
        EXPECT_EQ(MayHoldAdditionalCharts(ArchiveKind::Zip, WinPath(zip)), c.additional) << c.name;
    }
    // What cannot be read is left to the staging, which says why.
    game.WriteFile("broken.zip", "PK\x03\x04 not a zip");
    EXPECT_TRUE(MayHoldAdditionalCharts(ArchiveKind::Zip, WinPath("broken.zip")));
}

}  // namespace
}  // namespace qv5
