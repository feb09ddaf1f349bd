// The root list's rules and the path helpers of the tree, and the name
// suggested for a song folder.
#include "browser/root_list.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "browser/folder_name.h"
#include "platform/paths.h"
#include "platform/text.h"
#include "support/temp_game.h"

namespace qv5 {
namespace {

// The window's list meets the file's: each side's change wins for the roots
// it changed.
TEST(RootList, MergeTakesInWhatOthersChanged) {
    using List = std::vector<std::string>;
    struct Case {
        const char* name;
        List shown, read, now, merged;
    } cases[] = {
        {"nobody changed", {"a", "b"}, {"a", "b"}, {"a", "b"}, {"a", "b"}},
        {"others removed", {"a", "b"}, {"a", "b"}, {"b"}, {"b"}},
        {"others added, appended", {"b", "a"}, {"a", "b"}, {"a", "c", "b"}, {"b", "a", "c"}},
        {"the window removed", {"a"}, {"a", "b"}, {"a", "b"}, {"a"}},
        {"the window added", {"a", "c"}, {"a"}, {"a"}, {"a", "c"}},
        {"both added the same", {"a", "c"}, {"a"}, {"a", "c"}, {"a", "c"}},
        {"both removed the same", {"a"}, {"a", "b"}, {"a"}, {"a"}},
        {"the window's twice-added root stays twice", {"a", "a"}, {"a"}, {"a"}, {"a", "a"}},
        {"the window removed, others added", {"c"}, {"a", "b"}, {"a", "b", "d"}, {"c", "d"}},
        {"no file list any more", {"a", "c"}, {"a", "b"}, {}, {"c"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(MergeRootLists(c.shown, c.read, c.now), c.merged) << c.name;
}

TEST(RootList, DuplicateRule) {
    const std::vector<std::string> roots = {"songs\\", "Z:\\music\\bms\\", "list.qv5folder"};
    struct Case {
        std::string path;
        const char8_t* message;
    } cases[] = {
        {"songs\\", u8"このフォルダは既に登録されています。"},
        {"songs\\a\\", u8"親フォルダが既に登録されています。"},
        {"Z:\\music\\bms\\x\\", u8"親フォルダが既に登録されています。"},
        {"SONGS\\", u8""},               // case counts
        {"Z:\\music\\", u8""},           // the parent of a root is not detected
        {"songs2\\", u8""},              // text prefix without the separator
        {"list.qv5folder.old\\", u8""},  // a custom-folder root holds no folder
    };
    for (const Case& c : cases)
        EXPECT_EQ(RootConflictMessage(roots, c.path), Sj(c.message)) << c.path;
}

TEST(RootList, PathHelpers) {
    test::TempGame game;
    const std::string dir = ProgramDirectory();
    EXPECT_EQ(StoredRootPath(dir + "songs", true), "songs\\");
    EXPECT_EQ(StoredRootPath(dir + "songs\\", true), "songs\\");
    EXPECT_EQ(StoredRootPath("Z:\\elsewhere", true), "Z:\\elsewhere\\");
    EXPECT_EQ(StoredRootPath(dir + "a.qv5folder", false), "a.qv5folder");

    const std::string so = Sj(u8"ソ");  // its trail byte is 0x5C
    ASSERT_EQ(so[1], '\\');

    for (const std::string& bad : {std::string(), std::string("."), std::string(".."),
                                   std::string("a\\b"), std::string("a/b")})
        EXPECT_FALSE(IsPlainName(bad)) << bad;
    EXPECT_TRUE(IsPlainName(so));
    EXPECT_TRUE(IsPlainName("new folder"));

    const std::vector<std::string> roots = {"songs\\p\\q\\", dir + "abs\\x\\"};
    EXPECT_TRUE(HoldsRoot(roots, WinPath("songs\\p")));
    EXPECT_TRUE(HoldsRoot(roots, WinPath("songs\\p\\q")));
    EXPECT_TRUE(HoldsRoot(roots, WinPath("abs")));
    EXPECT_TRUE(HoldsRoot(roots, WinPath(dir + "songs")));
    EXPECT_FALSE(HoldsRoot(roots, WinPath("songs\\p\\q\\r")));
    EXPECT_FALSE(HoldsRoot(roots, WinPath("song")));

    EXPECT_FALSE(PathTooLong(std::string(259, 'a')));
    EXPECT_TRUE(PathTooLong(std::string(260, 'a')));
}

void SetTime(const test::TempGame& game, const std::string& rel, time_t t) {
    struct timespec times[2] = {{t, 0}, {t, 0}};
    ::utimensat(AT_FDCWD, game.HostPath(rel).c_str(), times, 0);
}

TEST(SuggestFolderName, TakesTheOldestChart) {
    test::TempGame game;
    struct Case {
        const char8_t* subtitle;
        const char8_t* want;
    } cases[] = {
        {u8"", u8"[Art] Old*Title"},        {u8"[ANOTHER]", u8"[Art] Old*Title"},
        {u8"(Hyper)", u8"[Art] Old*Title"}, {u8"remix", u8"[Art] Old*Title remix"},
        {u8"段位", u8"[Art] Old*Title"},
    };
    int n = 0;
    for (const Case& c : cases) {
        const std::string folder = "f" + std::to_string(n++);
        std::string sub = Sj(c.subtitle);
        std::string text = "#TITLE Old*Title\r\n#ARTIST Art\r\n";
        if (!sub.empty()) text += "#SUBTITLE " + sub + "\r\n";
        game.WriteFile(folder + "/old.bms", text);
        game.WriteFile(folder + "/new.bme", "#TITLE New\r\n#ARTIST Other\r\n");
        game.WriteFile(folder + "/older.txt", "#TITLE not a chart\r\n");
        SetTime(game, folder + "/old.bms", 1000000);
        SetTime(game, folder + "/new.bme", 2000000);
        SetTime(game, folder + "/older.txt", 10);
        auto name = SuggestFolderName(WinPath(folder));
        ASSERT_TRUE(name) << folder;
        std::string want = Sj(c.want);
        // The asterisk a file name cannot hold becomes its full-width form.
        want.replace(want.find('*'), 1, Sj(u8"＊"));
        EXPECT_EQ(*name, want) << folder;
    }
    game.WriteFile("empty/readme.txt", "x");
    EXPECT_FALSE(SuggestFolderName(WinPath("empty")));
    EXPECT_FALSE(SuggestFolderName(WinPath("missing")));
}

}  // namespace
}  // namespace qv5
