#include "platform/paths.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include "platform/text.h"
#include "support/temp_game.h"

namespace qv5 {
namespace {

TEST(Paths, InternalToHost) {
    struct Case {
        std::string internal;
        std::optional<std::string> host;
    } cases[] = {
        {"Z:\\home\\a\\BMS", "/home/a/BMS"},
        {"Z:\\home\\a\\BMS\\", "/home/a/BMS"},
        {"z:/home", "/home"},
        {"Z:\\", "/"},
        {"Z:", "/"},
        {"QV5files\\Config\\config.xml", "QV5files/Config/config.xml"},
        {"songs\\", "songs"},
        {Sj(u8"曲\\ソ\\"), "\xE6\x9B\xB2/\xE3\x82\xBD"},  // 0x5C trail byte is no separator
        {"C:\\Windows", std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(ToHostPath(c.internal), c.host) << c.internal;
}

TEST(Paths, HostToInternal) {
    struct Case {
        std::string host;
        std::optional<std::string> internal;
    } cases[] = {
        {"/home/a/BMS", "Z:\\home\\a\\BMS"},
        {"/", "Z:\\"},
        {"rel/x", "rel\\x"},
        {"/m/\xE3\x82\xBD", Sj(u8"Z:\\m\\ソ")},
        {"/m/\xF0\x9F\x8E\xB5", std::nullopt},  // no CP932 form
        {"/m/a\\b", std::nullopt},              // a host backslash
        {"/m/\xC2\xA5", std::nullopt},          // would turn into a separator
    };
    for (const auto& c : cases) EXPECT_EQ(FromHostPath(c.host), c.internal) << c.host;
}

TEST(Paths, ProgramDirectoryIsCurrentWithTrailingSeparator) {
    test::TempGame game;
    const std::string& dir = ProgramDirectory();
    ASSERT_FALSE(dir.empty());
    EXPECT_EQ(dir.back(), '\\');
    EXPECT_EQ(dir.substr(0, 3), "Z:\\");
    char cwd[4096];
    ASSERT_TRUE(getcwd(cwd, sizeof cwd));
    EXPECT_EQ(ToHostPath(dir), std::string(cwd));
    EXPECT_FALSE(SetProgramDirectory("/no/such/dir/qv5"));
    // "表" ends in the byte of "\\": the separator is still added.
    const std::string game_dir = dir;
    game.MakeDir("表");
    ASSERT_TRUE(SetProgramDirectory(game.HostPath("表")));
    EXPECT_EQ(ProgramDirectory(), game_dir + Sj(u8"表\\"));
}

}  // namespace
}  // namespace qv5
