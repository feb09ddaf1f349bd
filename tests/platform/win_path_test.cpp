// The program's paths, folder and file form, read character by character.
#include "platform/win_path.h"

#include <gtest/gtest.h>

#include "platform/text.h"
#include "support/temp_game.h"

namespace qv5 {
namespace {

TEST(WinPath, ReadsWholeCharacters) {
    // "表" is 0x95 0x5C and "ソ" 0x83 0x5C: their trail byte is no separator.
    const std::string hyo = Sj(u8"表"), so = Sj(u8"ソ");
    ASSERT_EQ(hyo[1], '\\');
    ASSERT_EQ(so[1], '\\');
    struct Case {
        std::string path;
        bool folder_form;
        std::string as_folder, as_file, parent, last_name;
    } cases[] = {
        {"songs\\pack\\", true, "songs\\pack\\", "songs\\pack", "songs\\", "pack"},
        {"songs\\pack", false, "songs\\pack\\", "songs\\pack", "songs\\", "pack"},
        {"songs\\a.bms", false, "songs\\a.bms\\", "songs\\a.bms", "songs\\", "a.bms"},
        {"a.bms", false, "a.bms\\", "a.bms", "", "a.bms"},
        {"Z:\\", true, "Z:\\", "Z:", "", "Z:"},
        {"Z:\\x", false, "Z:\\x\\", "Z:\\x", "Z:\\", "x"},
        {"songs/pack/", true, "songs/pack/", "songs/pack", "songs/", "pack"},
        {"", false, "\\", "", "", ""},
        {"songs\\" + hyo, false, "songs\\" + hyo + "\\", "songs\\" + hyo, "songs\\", hyo},
        {"songs\\" + hyo + "\\", true, "songs\\" + hyo + "\\", "songs\\" + hyo, "songs\\", hyo},
        {hyo + "\\" + so, false, hyo + "\\" + so + "\\", hyo + "\\" + so, hyo + "\\", so},
        {so + "\\a.bms", false, so + "\\a.bms\\", so + "\\a.bms", so + "\\", "a.bms"},
    };
    for (const Case& c : cases) {
        const WinPath p(c.path);
        SCOPED_TRACE(Cp932ToUtf8(c.path));
        EXPECT_EQ(p.IsFolderForm(), c.folder_form);
        EXPECT_EQ(p.AsFolder().text(), c.as_folder);
        EXPECT_EQ(p.AsFile().text(), c.as_file);
        EXPECT_EQ(p.Parent().text(), c.parent);
        EXPECT_EQ(p.LastName(), c.last_name);
        EXPECT_EQ(p.Join("x.bms").text(), c.as_folder + "x.bms");
    }

    struct Within {
        std::string path, folder;
        bool within;
    } within[] = {
        {"songs\\a\\b.bms", "songs\\a", true},
        {"songs\\a\\", "songs\\a\\", true},
        {"songs\\a", "songs\\a\\", true},
        {"songs\\ab\\", "songs\\a", false},
        {"songs\\a", "songs\\a\\b", false},
        {"list.qv5folder.old\\", "list.qv5folder", false},
        {"SONGS\\a", "songs", false},  // byte for byte, as stored paths compare
        {"songs\\" + hyo + "\\x", "songs\\" + hyo, true},
        {"songs\\" + hyo + "x", "songs\\" + hyo, false},
    };
    for (const Within& w : within)
        EXPECT_EQ(WinPath(w.path).IsWithin(WinPath(w.folder)), w.within)
            << Cp932ToUtf8(w.path) << " in " << Cp932ToUtf8(w.folder);

    EXPECT_EQ(WinPath::FromHost("/m/\xE3\x82\xBD")->AsFolder().text(), "Z:\\m\\" + so + "\\");
    EXPECT_EQ(WinPath("Z:\\m\\" + so + "\\").ToHost(), "/m/\xE3\x82\xBD");
    EXPECT_FALSE(WinPath::FromHost("/m/a\\b"));
}

// The library's parent of an entry asks the disk whether it is there.
TEST(WinPath, ParentPathOfAnEntryThatExists) {
    test::TempGame game;
    game.WriteFile("songs/pack/a.bms", "");
    EXPECT_EQ(ParentPath("songs\\pack\\"), "songs\\");
    EXPECT_EQ(ParentPath("songs\\pack\\a.bms"), "songs\\pack\\");
    EXPECT_EQ(ParentPath("songs\\nothing\\"), "ERROR");
    EXPECT_EQ(ParentPath(""), "ERROR");
}

}  // namespace
}  // namespace qv5
