#include "config/config_file.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/text.h"
#include "support/temp_game.h"

namespace qv5 {
namespace {

std::string ReadHostFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

TEST(SaveConfig, DefaultsAreByteExact) {
    test::TempGame game;
    ConfigRecord c;
    EXPECT_EQ(SaveConfig(c), 1);
    EXPECT_EQ(game.ReadFile("QV5files/Config/config.xml"),
              ReadHostFile(std::string(QV5_TEST_DATA) + "/defaults_config.xml"));
}

TEST(SaveConfig, ElementLines) {
    struct Case {
        std::string text, expected;
    } cases[] = {
        {"a&b<c>", "\t\t<k>a&amp;b&lt;c&gt;</k>\r\n"},
        {"say \"hi\" it's", "\t\t<k>say &quot;hi&quot; it&apos;s</k>\r\n"},
        {"&lt;", "\t\t<k>&amp;lt;</k>\r\n"},
        {"\x83\x5C\\", "\t\t<k>\x83\x5C\\</k>\r\n"},  // Shift-JIS bytes kept
        {"", "\t\t<k></k>\r\n"},
        {"a\nb", "\t\t<k>a\r\nb</k>\r\n"},
    };
    for (const auto& c : cases) {
        std::string out;
        WriteTextLine(c.text, "k", out);
        EXPECT_EQ(out, c.expected) << c.text;
    }
    std::string out;
    WriteIntLine(-2147483647 - 1, out, "n");
    WriteIntLine(0, out, "z");
    EXPECT_EQ(out, "\t\t<n>-2147483648</n>\r\n\t\t<z>0</z>\r\n");
}

TEST(SaveConfig, LongLinesAreWrittenWhole) {
    test::TempGame game;
    ConfigRecord c;
    c.theme = std::string(5000, 'x');
    c.path_count = 1;
    c.path[0] = "Z:\\" + std::string(600, 'p') + "\\";
    ASSERT_EQ(SaveConfig(c), 1);
    ConfigRecord back;
    LoadConfig(back);
    EXPECT_EQ(back.theme, c.theme);
    EXPECT_EQ(back.path[0], c.path[0]);
}

TEST(SaveConfig, FailureKeepsTheOldFile) {
    test::TempGame game;
    ConfigRecord c;
    c.vsync = 1;
    ASSERT_EQ(SaveConfig(c), 1);
    const std::string before = game.ReadFile("QV5files/Config/config.xml");

    // A folder we may not write into: nothing changes, no stray files.
    chmod(game.HostPath("QV5files/Config").c_str(), 0555);
    if (geteuid() == 0) {
        // root ignores permission bits; a read-only file is refused by us instead
        chmod(game.HostPath("QV5files/Config").c_str(), 0755);
        chmod(game.HostPath("QV5files/Config/config.xml").c_str(), 0444);
    }
    c.vsync = 0;
    EXPECT_EQ(SaveConfig(c), 0);
    EXPECT_EQ(game.ReadFile("QV5files/Config/config.xml"), before);
    for (const auto& e : std::filesystem::directory_iterator(game.HostPath("QV5files/Config")))
        EXPECT_EQ(e.path().filename(), "config.xml");
}

// A missing folder is made (see the game folder's own folders); one that
// cannot be made, a file in its place, leaves nothing written.
TEST(SaveConfig, AFolderThatCannotBeMadeWritesNothing) {
    test::TempGame game;
    std::filesystem::remove_all(game.HostPath("QV5files/Config"));
    game.WriteFile("QV5files/Config", "not a folder");
    EXPECT_EQ(SaveConfig(ConfigRecord{}), 0);
    EXPECT_EQ(game.ReadFile("QV5files/Config"), "not a folder");
}

TEST(SaveConfig, FullDiskKeepsTheOldFile) {
    test::TempGame game;
    ASSERT_EQ(SaveConfig(ConfigRecord{}), 1);
    const std::string before = game.ReadFile("QV5files/Config/config.xml");
    // A child whose files may not grow past 1000 bytes: every save fails
    // part way through its write.
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        signal(SIGXFSZ, SIG_IGN);
        rlimit limit{1000, 1000};
        setrlimit(RLIMIT_FSIZE, &limit);
        ConfigRecord c;
        c.vsync = 1;
        _exit(SaveConfig(c) == 0 ? 0 : 1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_EQ(game.ReadFile("QV5files/Config/config.xml"), before);
    for (const auto& e : std::filesystem::directory_iterator(game.HostPath("QV5files/Config")))
        EXPECT_EQ(e.path().filename(), "config.xml");
}

TEST(LeadingNumber, ParsesLikeTheGame) {
    struct Case {
        const char* text;
        std::int32_t value;
    } cases[] = {{"12", 12},
                 {"  -7x", -7},
                 {"+5", 5},
                 {"abc", 0},
                 {"", 0},
                 {"\t\n3", 3},
                 {"12abc34", 12},
                 {"- 3", 0},
                 {"007", 7},
                 {"99999999999", 2147483647},
                 {"-99999999999", -2147483647 - 1}};
    for (const auto& c : cases) EXPECT_EQ(LeadingNumber(c.text), c.value) << c.text;
}

}  // namespace
}  // namespace qv5
