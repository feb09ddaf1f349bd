#include "platform/file_map.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>
#include <utime.h>

#include <csignal>
#include <string>

#include "support/temp_game.h"

namespace qv5 {
namespace {

TEST(FileMapsTest, MapsRegularFilesThatFitASlot) {
    test::TempGame game;
    const std::string body(10000, 'b');
    game.WriteFile("a.bms", "0123456789");
    game.WriteFile("b.bms", body);
    game.WriteFile("empty.bms", "");
    game.MakeDir("dir.bms");
    {
        const int fd = open(game.HostPath("huge.bms").c_str(), O_CREAT | O_WRONLY, 0644);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(ftruncate(fd, FileMaps::kSlotBytes + 1), 0);  // sparse
        close(fd);
    }
    struct utimbuf t {
        1000000000, 1000000000
    };
    ASSERT_EQ(utime(game.HostPath("a.bms").c_str(), &t), 0);

    FileMaps maps(4);
    struct Case {
        size_t slot;
        const char* path;
        bool mapped;
        std::string bytes;
    } cases[] = {
        {0, "a.bms", true, "0123456789"}, {1, "b.bms", true, body},
        {2, "empty.bms", false, ""},  // read instead: nothing to map
        {2, "dir.bms", false, ""},        {2, "missing.bms", false, ""},
        {2, "huge.bms", false, ""},       {4, "a.bms", false, ""},  // no such slot
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.path) + " in slot " + std::to_string(c.slot));
        FileTime time;
        const auto view = maps.Map(c.slot, c.path, &time);
        ASSERT_EQ(view.has_value(), c.mapped);
        if (!c.mapped) continue;
        EXPECT_EQ(*view, c.bytes);
        EXPECT_TRUE(maps.intact(c.slot));
        const auto expected = WriteTime(c.path);
        ASSERT_TRUE(expected);
        EXPECT_EQ(time.year, expected->year);
        EXPECT_EQ(time.second, expected->second);
    }
    // A slot mapped again holds the new file; the others keep theirs.
    const auto again = maps.Map(1, "a.bms");
    ASSERT_TRUE(again);
    EXPECT_EQ(*again, "0123456789");
    const auto first = maps.Map(0, "b.bms");
    ASSERT_TRUE(first);
    EXPECT_EQ(*first, body);
    EXPECT_EQ(*again, "0123456789");
    maps.UnmapAll();
    EXPECT_TRUE(maps.Map(0, "a.bms"));
}

// A file cut short while it is mapped reads as zeros past its new end, and
// the slot says so, instead of the program being stopped.
TEST(FileMapsTest, AFileCutShortReadsAsZerosAndIsNotIntact) {
    test::TempGame game;
    std::string body;
    for (int i = 0; i < 3 * 4096 + 10; ++i) body += static_cast<char>('a' + i % 26);
    game.WriteFile("cut.bms", body);
    game.WriteFile("other.bms", body);
    FileMaps maps(2);
    const auto view = maps.Map(0, "cut.bms");
    const auto other = maps.Map(1, "other.bms");
    ASSERT_TRUE(view && other);
    ASSERT_EQ(truncate(game.HostPath("cut.bms").c_str(), 100), 0);
    long past_end = 0;
    for (size_t i = 100; i < view->size(); ++i) past_end += (*view)[i];
    EXPECT_EQ(past_end, 0);
    EXPECT_EQ(view->substr(0, 100), body.substr(0, 100));
    EXPECT_FALSE(maps.intact(0));
    EXPECT_TRUE(maps.intact(1));
    EXPECT_EQ(*other, body);
    // Mapped again, the slot holds the file as it is now.
    const auto now = maps.Map(0, "cut.bms");
    ASSERT_TRUE(now);
    EXPECT_EQ(*now, body.substr(0, 100));
    EXPECT_TRUE(maps.intact(0));
}

// The same signal anywhere else still ends the program.
TEST(FileMapsTest, OtherBusErrorsStillEndTheProgram) {
    test::TempGame game;
    game.WriteFile("plain.bin", std::string(3 * 4096, 'x'));
    FileMaps maps(1);  // the handler is in place
    ASSERT_TRUE(maps.Map(0, "plain.bin"));
    const std::string host = game.HostPath("plain.bin");
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        const int fd = open(host.c_str(), O_RDWR);
        void* p = fd < 0 ? MAP_FAILED : mmap(nullptr, 3 * 4096, PROT_READ, MAP_SHARED, fd, 0);
        if (p == MAP_FAILED || ftruncate(fd, 0) != 0) _exit(3);
        volatile const char* bytes = static_cast<const char*>(p);
        const char c = bytes[2 * 4096];
        _exit(c == 0 ? 4 : 5);  // not reached: the read stops the child
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    // Stopped by the signal, or by a sanitizer that reports it and exits.
    if (WIFSIGNALED(status)) {
        EXPECT_EQ(WTERMSIG(status), SIGBUS);
    } else {
        ASSERT_TRUE(WIFEXITED(status));
        EXPECT_NE(WEXITSTATUS(status), 0);
        EXPECT_NE(WEXITSTATUS(status), 3);
        EXPECT_NE(WEXITSTATUS(status), 4);
        EXPECT_NE(WEXITSTATUS(status), 5);
    }
}

}  // namespace
}  // namespace qv5
