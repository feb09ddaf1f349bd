#include "platform/files.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <utime.h>

#include <algorithm>

#include "platform/text.h"
#include "support/temp_game.h"

namespace qv5 {
namespace {

TEST(Files, ListFolderReportsNamesKindsAndTimes) {
    test::TempGame game;
    game.WriteFile("d/a.bms", "12345");
    game.WriteFile("d/\xE3\x82\xBD.bme", "x");      // CP932-representable
    game.WriteFile("d/\xF0\x9F\x8E\xB5.bms", "x");  // not representable: skipped
    game.MakeDir("d/sub");
    std::vector<DirEntry> entries;
    ASSERT_TRUE(ListFolder("d", entries));
    std::vector<std::string> names;
    for (auto& e : entries) names.push_back(e.name);
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"a.bms", "sub", "\x83\x5C.bme"}));
    for (auto& e : entries) {
        EXPECT_EQ(e.directory, e.name == "sub");
        EXPECT_GE(e.write_time.year, 2020);
        if (e.name == "a.bms") {
            EXPECT_EQ(e.size, 5);
        }
    }
    EXPECT_FALSE(ListFolder("missing", entries));
    EXPECT_TRUE(ListFolder("d\\", entries));  // trailing separator ignored
}

// A name without a CP932 form is left out of the listing and given back as
// the person can find it: its host path and its first character without a
// form (a byte that is no UTF-8 as \xNN, a host "\" as itself).
TEST(Files, NamesWithoutACp932FormAreGivenBackWithTheirFirstSuchCharacter) {
    test::TempGame game;
    struct Case {
        std::string name, character;
    } cases[] = {
        {"caf\xC3\xA9 x.bms", "\xC3\xA9"},           // é
        {"\xEB\x85\xB8\xEB\x9E\x98", "\xEB\x85\xB8"},  // 노래
        {"back\\slash", "\\"},
        {"bad\xFF.bms", "\\xFF"},
        {"\xE3\x81\x82\xC3\xA9", "\xC3\xA9"},  // あé: the first without a form
    };
    for (const Case& c : cases) game.WriteFile("d/" + c.name, "x");
    game.WriteFile("d/ok.bms", "x");
    std::vector<DirEntry> entries;
    std::vector<UnheldName> unheld;
    ASSERT_TRUE(ListFolder("d", entries, ListDetail::NamesAndKinds, nullptr, &unheld));
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].name, "ok.bms");
    ASSERT_EQ(unheld.size(), std::size(cases));
    for (const Case& c : cases) {
        const std::string shown =
            c.name == "bad\xFF.bms" ? std::string("bad\\xFF.bms") : c.name;
        const auto found = std::find_if(unheld.begin(), unheld.end(), [&](const UnheldName& u) {
            return u.host_path == game.host() + "/d/" + shown;
        });
        ASSERT_NE(found, unheld.end()) << shown;
        EXPECT_EQ(found->character, c.character) << shown;
    }
}

TEST(Files, FileBufferReadsWholeFilesUpToALimit) {
    test::TempGame game;
    game.WriteFile("f.bms", "0123456789");
    game.WriteFile("empty.bms", "");
    game.MakeDir("dir.bms");
    struct utimbuf t {
        1000000000, 1000000000
    };
    ASSERT_EQ(utime(game.HostPath("f.bms").c_str(), &t), 0);
    struct Case {
        const char* path;
        std::int64_t limit;
        bool read, too_large;
        std::string bytes;
    } cases[] = {
        {"f.bms", INT64_MAX, true, false, "0123456789"},
        {"f.bms", 10, true, false, "0123456789"},
        {"f.bms", 9, false, true, ""},
        {"empty.bms", 0, true, false, ""},
        {"dir.bms", INT64_MAX, false, false, ""},
        {"missing.bms", 0, false, false, ""},
    };
    FileBuffer buffer;
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.path) + " " + std::to_string(c.limit));
        EXPECT_EQ(buffer.Read(c.path, c.limit), c.read);
        EXPECT_EQ(buffer.too_large(), c.too_large);
        EXPECT_EQ(buffer.view(), c.bytes);
    }
    // The time comes from the same open, as WriteTime gives it.
    ASSERT_TRUE(buffer.Read("f.bms"));
    const auto time = WriteTime("f.bms");
    ASSERT_TRUE(time);
    EXPECT_EQ(buffer.write_time().year, 2001);
    EXPECT_EQ(buffer.write_time().second, time->second);
    EXPECT_EQ(buffer.write_time().minute, time->minute);
}

TEST(Files, Operations) {
    test::TempGame game;
    game.WriteFile("f.txt", "data");
    EXPECT_TRUE(PathExists("f.txt"));
    EXPECT_FALSE(IsDirectory("f.txt"));
    EXPECT_TRUE(CreateFolder("nf"));
    EXPECT_FALSE(CreateFolder("nf"));
    EXPECT_TRUE(IsDirectory("nf\\"));
    EXPECT_TRUE(CopyFileNoOverwrite("f.txt", "nf\\g.txt"));
    EXPECT_FALSE(CopyFileNoOverwrite("f.txt", "nf\\g.txt"));
    EXPECT_EQ(game.ReadFile("nf/g.txt"), "data");
    EXPECT_FALSE(MovePath("f.txt", "nf\\g.txt"));  // never overwrites
    EXPECT_TRUE(MovePath("nf", "nf2"));
    std::string bytes;
    EXPECT_TRUE(ReadWholeFile("nf2\\g.txt", bytes));
    EXPECT_EQ(bytes, "data");
    EXPECT_FALSE(DeletePath("nf2"));  // not empty
    EXPECT_TRUE(DeletePath("nf2\\g.txt"));
    EXPECT_TRUE(DeletePath("nf2"));
    EXPECT_FALSE(PathExists("nf2"));
    EXPECT_TRUE(WriteFileAtomic("w.bin", std::string("a\0b", 3)));
    EXPECT_EQ(game.ReadFile("w.bin"), std::string("a\0b", 3));
}

// Several files of a folder saved with one flush: each has its new content
// whole, an existing one keeps its mode, no temporary file stays, and a name
// that is no name of the folder fails before any file changes.
TEST(Files, WriteFilesAtomicSavesEachFileWhole) {
    test::TempGame game;
    game.MakeDir("d");
    game.WriteFile("d/old.txt", "old");
    ASSERT_EQ(::chmod(game.HostPath("d/old.txt").c_str(), 0640), 0);
    ASSERT_TRUE(WriteFilesAtomic("d\\", {{"old.txt", "new"}, {"\x95\x5C.txt", "cp932"}}));
    EXPECT_EQ(game.ReadFile("d/old.txt"), "new");
    EXPECT_EQ(game.ReadFile("d/\xE8\xA1\xA8.txt"), "cp932");  // 表, whose trail byte is "\\"
    struct stat st {};
    ASSERT_EQ(::stat(game.HostPath("d/old.txt").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
    EXPECT_FALSE(WriteFilesAtomic("d\\", {{"old.txt", "lost"}, {"a/b", "x"}}));
    EXPECT_EQ(game.ReadFile("d/old.txt"), "new");
    std::vector<DirEntry> entries;
    ASSERT_TRUE(ListFolder("d", entries, ListDetail::NamesAndKinds));
    EXPECT_EQ(entries.size(), 2u);  // no temporary left
    EXPECT_FALSE(WriteFilesAtomic("nosuch\\", {{"a.txt", "x"}}));
    EXPECT_FALSE(PathExists("nosuch"));
}

}  // namespace
}  // namespace qv5
