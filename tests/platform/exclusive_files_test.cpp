#include "platform/exclusive_files.h"

#include <errno.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>

#include "platform/files.h"
#include "support/temp_game.h"

namespace qv5 {
namespace {

namespace fs = std::filesystem;

TEST(ExclusiveFiles, RenameNeverReplacesWhatIsThere) {
    test::TempGame game;
    struct Case {
        const char* to;
        bool there;
        int result;
    } cases[] = {{"d\\new.wav", false, 0}, {"d\\old.wav", true, EEXIST}};
    for (const Case& c : cases) {
        game.WriteFile("d/part", "mine");
        if (c.there) game.WriteFile("d/old.wav", "theirs");
        EXPECT_EQ(RenameNoReplace("d\\part", c.to), c.result) << c.to;
        EXPECT_EQ(game.Exists("d/part"), c.there) << c.to;
        EXPECT_EQ(game.ReadFile(std::string("d/") + (c.to + 2)), c.there ? "theirs" : "mine");
    }
}

TEST(ExclusiveFiles, OnlyTemporariesNobodyHoldsAreRemoved) {
    test::TempGame game;
    game.MakeDir("d");
    LockedTemporary held, left;
    ASSERT_TRUE(held.Create("d"));
    ASSERT_TRUE(left.Create("d"));
    EXPECT_EQ(left.Close(), 0);
    game.WriteFile("d/.qv5-.part", "");      // too short a name to be one
    game.WriteFile("d/song.part", "");       // another program's
    game.MakeDir("d/.qv5-1-00000000.part");  // a folder is never one
    RemoveUnheldTemporaries("d");
    EXPECT_TRUE(PathExists(held.path()));
    EXPECT_FALSE(PathExists(left.path()));
    for (const char* kept : {"d/.qv5-.part", "d/song.part", "d/.qv5-1-00000000.part"})
        EXPECT_TRUE(game.Exists(kept)) << kept;
    held.Remove();
    EXPECT_FALSE(PathExists(held.path()));
}

TEST(ExclusiveFiles, EachTemporaryIsAFreshFile) {
    test::TempGame game;
    game.MakeDir("d");
    std::set<std::string> names;
    for (int i = 0; i < 20; ++i) {
        LockedTemporary t;
        ASSERT_TRUE(t.Create("d"));
        EXPECT_EQ(FileSize(t.path()), 0);  // nothing that was there is written over
        EXPECT_TRUE(names.insert(t.path()).second) << t.path();
        game.WriteFile("d/" + t.path().substr(2), "kept");
    }
    for (const std::string& name : names) EXPECT_EQ(game.ReadFile("d/" + name.substr(2)), "kept");
    for (auto [folder, error] : {std::pair{"missing", ENOENT}, {"C:\\d", EINVAL}}) {
        LockedTemporary t;
        const bool made = t.Create(folder);
        const int why = errno;
        EXPECT_FALSE(made);
        EXPECT_EQ(why, error) << folder;
    }
}

TEST(ExclusiveFiles, KindsOfEntriesWithAndWithoutLinksFollowed) {
    test::TempGame game;
    game.WriteFile("d/f.bms", "x");
    game.MakeDir("d/sub");
    fs::create_directory_symlink(game.HostPath("d/sub"), game.HostPath("d/to_sub"));
    fs::create_symlink(game.HostPath("d/gone"), game.HostPath("d/dangling"));
    struct Case {
        std::string path;
        EntryKind own, followed;
        int error;  // of a look that finds nothing
    } cases[] = {
        {"d\\f.bms", EntryKind::Other, EntryKind::Other, 0},
        {"d\\sub", EntryKind::Folder, EntryKind::Folder, 0},
        {"d\\to_sub", EntryKind::Other, EntryKind::Folder, 0},
        {"d\\dangling", EntryKind::Other, EntryKind::None, ENOENT},
        {"d\\missing", EntryKind::None, EntryKind::None, ENOENT},
        {"d\\" + std::string(300, 'a'), EntryKind::None, EntryKind::None, ENAMETOOLONG},
    };
    for (const Case& c : cases) {
        for (auto [look, kind] : {std::pair{&KindOf, c.own}, {&KindFollowingLinks, c.followed}}) {
            errno = 0;
            const EntryKind found = look(c.path);
            const int error = errno;
            EXPECT_EQ(found, kind) << c.path;
            EXPECT_EQ(error, kind == EntryKind::None ? c.error : 0) << c.path;
        }
    }
}

TEST(ExclusiveFiles, FoldersAndFilesAreMadeAndRemovedWithTheReason) {
    test::TempGame game;
    game.WriteFile("d/full/f", "x");
    struct Case {
        int (*step)(std::string_view);
        const char* path;
        int result;
    } cases[] = {
        {MakeFolder, "d\\new", 0},          {MakeFolder, "d\\new", EEXIST},
        {MakeFolder, "d\\no\\new", ENOENT}, {RemoveEmptyFolder, "d\\full", ENOTEMPTY},
        {RemoveEmptyFolder, "d\\new", 0},   {RemoveFile, "d\\full\\f", 0},
        {RemoveFile, "d\\full\\f", ENOENT}, {RemoveEmptyFolder, "d\\full", 0},
    };
    for (const Case& c : cases) EXPECT_EQ(c.step(c.path), c.result) << c.path;
    EXPECT_FALSE(game.Exists("d/full"));
    const auto space = FreeSpaceAt("d");
    EXPECT_TRUE(space && space->bytes > 0 && space->block_size > 0);
    EXPECT_FALSE(FreeSpaceAt("missing"));
}

TEST(ExclusiveFiles, AStreamReadsSkipsAndStopsAtTheEnd) {
    test::TempGame game;
    game.WriteFile("f", "abcdef");
    EXPECT_TRUE(IsReadable("f") && !IsReadable("missing"));
    HostFileStream s;
    EXPECT_FALSE(s.Open(game.HostPath("missing")));
    ASSERT_TRUE(s.Open(game.HostPath("f")));
    char two[2];
    EXPECT_TRUE(s.Read(two, 2) && std::string(two, 2) == "ab");
    EXPECT_TRUE(s.Skip(2));
    EXPECT_EQ(s.Byte(), 'e');
    EXPECT_FALSE(s.Read(two, 2));  // one byte is left
    EXPECT_EQ(s.Byte(), -1);
}

}  // namespace
}  // namespace qv5
