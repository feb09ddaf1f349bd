#include "library/file_lookups.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "library/encodings.h"
#include "platform/files.h"
#include "support/temp_game.h"

namespace qv5 {
namespace {

std::vector<std::string> Names(const std::vector<DirEntry>& entries) {
    std::vector<std::string> out;
    for (const DirEntry& e : entries) out.push_back(e.name + (e.directory ? "\\" : ""));
    std::sort(out.begin(), out.end());
    return out;
}

// What the workers find is what this thread would find itself, with no
// helper or several, across many batches of rows and more folders than are
// listed ahead; and a refresh that gives up early does not hang.
TEST(FileLookupsTest, FindsWhatALookUpHereFinds) {
    test::TempGame game;
    std::vector<FolderRow> folders;
    std::vector<SongRow> songs;
    for (int f = 0; f < 700; ++f) {
        const std::string dir = "songs\\f" + std::to_string(f) + "\\";
        folders.push_back({dir, f == 0 ? std::string(kRootKey) : std::string("parent")});
        if (f % 7 == 3) continue;  // a folder row whose folder is gone
        for (int c = 0; c < 3; ++c) {
            const std::string name = "c" + std::to_string(c) + ".bms";
            game.WriteFile("songs/f" + std::to_string(f) + "/" + name, "#TITLE x\n");
            songs.push_back({dir + name, 0, 0, {}});
        }
        songs.push_back({dir + "gone.bms", 0, 0, {}});
    }
    game.WriteFile("songs/file.qv5folder", "#TITLE custom\n");
    folders.push_back({"songs\\file.qv5folder", "parent"});

    for (unsigned threads : {0u, 1u, 3u}) {
        for (bool early : {false, true}) {
            FileLookups lookups(folders, kRootKey, threads);
            for (size_t i = 0; i < songs.size(); i += 100)
                lookups.AddSongs(std::vector<SongRow>(
                    songs.begin() + i, songs.begin() + std::min(songs.size(), i + 100)));
            size_t seen = 0;
            for (const auto& batch : lookups.TimedSongs())
                for (const SongRow& r : batch) {
                    ASSERT_LT(seen, songs.size());
                    EXPECT_EQ(r.path, songs[seen].path);
                    const auto expected = WriteTime(r.path);
                    EXPECT_EQ(r.time.has_value(), expected.has_value()) << r.path;
                    if (r.time && expected) {
                        EXPECT_EQ(r.time->second, expected->second) << r.path;
                    }
                    ++seen;
                }
            EXPECT_EQ(seen, songs.size()) << threads;
            const size_t asked = early ? 5 : folders.size();
            for (size_t i = 0; i < asked; ++i) {
                const FolderListing& l = lookups.Folder(i);
                std::vector<DirEntry> entries;
                const bool listable =
                    folders[i].parent != kRootKey &&
                    ListFolder(folders[i].path, entries, ListDetail::NamesAndKinds);
                EXPECT_EQ(l.listed, listable) << folders[i].path << " threads " << threads;
                EXPECT_EQ(Names(l.entries), Names(entries)) << folders[i].path;
                if (l.listed) {
                    const auto time = WriteTime(folders[i].path);
                    ASSERT_TRUE(time);
                    EXPECT_EQ(l.time.minute, time->minute);
                    EXPECT_EQ(l.time.second, time->second);
                }
            }
        }
    }
}

}  // namespace
}  // namespace qv5
