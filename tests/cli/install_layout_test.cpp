// `cmake --install` into a temporary prefix: the programs, the desktop entry
// and the icon where a Linux desktop looks for them, the manual page and the
// completion; --version of the result.
#include <archive.h>
#include <curl/curl.h>
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <stdlib.h>

#include <QtGlobal>
#include <cstdio>
#include <filesystem>

#include "cli/command_parse.h"
#include "cli/command_table.h"
#include "support/shell.h"

namespace qv5 {
namespace {

namespace fs = std::filesystem;

TEST(InstallLayout, ProgramsEntryAndIconInTheirPlaces) {
    std::string prefix = (fs::temp_directory_path() / "qv5prefixXXXXXX").string();
    ASSERT_TRUE(mkdtemp(prefix.data()));
    test::ShellResult r =
        test::RunShell("cmake --install '" QV5_BUILD_DIR "' --prefix '" + prefix + "' 2>&1");
    ASSERT_EQ(r.code, 0) << r.out;
    for (const char* file : {"bin/QV5", "bin/QV5-full", "share/applications/qv5setup.desktop",
                             "share/icons/hicolor/scalable/apps/qv5setup.svg"})
        EXPECT_TRUE(fs::is_regular_file(prefix + "/" + file)) << file;
    r = test::RunShell("desktop-file-validate '" + prefix +
                       "/share/applications/qv5setup.desktop' 2>&1");
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.out, "");

    // The installed program runs, and names the libraries it runs on.
    r = test::RunShell("'" + prefix + "/bin/QV5' --version 2>&1");
    EXPECT_EQ(r.code, 0) << r.out;
    EXPECT_EQ(r.out, std::string("QV5 SETUP ") + QV5_VERSION + "\nQt " + qVersion() + "\nSQLite " +
                         sqlite3_libversion() + "\n" + archive_version_string() + "\nlibcurl " +
                         curl_version_info(CURLVERSION_NOW)->version + "\n");
    fs::remove_all(prefix);
}

// The manual page and the bash completion, installed where man and
// bash-completion look: the page renders without a warning and names every
// command with its usage; the completion, sourced, completes from the table.
TEST(InstallLayout, TheManualPageAndTheCompletionWorkAsInstalled) {
    std::string prefix = (fs::temp_directory_path() / "qv5prefixXXXXXX").string();
    ASSERT_TRUE(mkdtemp(prefix.data()));
    test::ShellResult r =
        test::RunShell("cmake --install '" QV5_BUILD_DIR "' --prefix '" + prefix + "' 2>&1");
    ASSERT_EQ(r.code, 0) << r.out;
    const std::string page = prefix + "/share/man/man1/QV5.1";
    const std::string completion = prefix + "/share/bash-completion/completions/QV5";
    ASSERT_TRUE(fs::is_regular_file(page));
    ASSERT_TRUE(fs::is_regular_file(completion));

    // Wide enough that no usage is broken or hyphenated.
    const std::string man = "LANG=C.UTF-8 MANWIDTH=1000 man --warnings -l '" + page + "'";
    r = test::RunShell(man + " 2>&1 >/dev/null");
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.out, "");
    r = test::RunShell(man + " 2>/dev/null");
    // Each command's usage begins a line of its own, its help after it.
    const auto begins_a_line = [&r](const std::string& text) {
        for (size_t at = r.out.find(text); at != std::string::npos; at = r.out.find(text, at + 1)) {
            const size_t start = r.out.find_last_not_of(' ', at - 1);
            const char after = at + text.size() < r.out.size() ? r.out[at + text.size()] : '\n';
            if ((start == std::string::npos || r.out[start] == '\n') &&
                (after == '\n' || after == ' '))
                return true;
        }
        return false;
    };
    for (const Command& c : Commands()) EXPECT_TRUE(begins_a_line(CommandSynopsis(c))) << c.name;
    for (const Option& o : ProgramOptions())
        EXPECT_NE(r.out.find(std::string(" ") + o.name), std::string::npos) << o.name;
    for (const char* section : {"ENVIRONMENT", "EXIT STATUS", "FILES", "QV5_WINE_LOCALE"})
        EXPECT_NE(r.out.find(section), std::string::npos) << section;

    r = test::RunShell("bash -c \"source '" + completion + "' && complete -p QV5\" 2>&1");
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.out, "complete -o filenames -F _qv5 QV5\n");
    fs::create_directories(prefix + "/t/sub");
    std::FILE* f = std::fopen((prefix + "/t/a.bms").c_str(), "w");
    ASSERT_TRUE(f);
    std::fclose(f);
    const std::string t = prefix + "/t/";
    const struct {
        std::string line;  // the words before the cursor and the word at it
        std::string replies;
    } cases[] = {
        {"QV5 ins", "install\n"},
        {"QV5 --dir " + t + " s", "songs\n"},
        {"QV5 --t", "--tab\n"},
        {"QV5 --tab SO", "SONGS\n"},
        {"QV5 install --a", "--auto\n"},
        {"QV5 install --into " + t, t + "sub\n"},                 // folders only
        {"QV5 install x.zip " + t, t + "a.bms\n" + t + "sub\n"},  // files
        {"QV5 songs --sort ti", "title\n"},
        {"QV5 songs --level ", ""},  // a number: nothing
        {"QV5 songs --level 3 --t", "--table\n--tsv\n"},
        {"QV5 check du", "duplicates\n"},
        {"QV5 convert w", "wav2ogg\n"},
        {"QV5 convert wav2ogg " + t, t + "sub\n"},
        {"QV5 rescan " + t, ""},  // no argument
        {"QV5 info -- --h", ""},  // after --, a name
    };
    const std::string script = prefix + "/complete.sh";
    for (const auto& c : cases) {
        std::FILE* out = std::fopen(script.c_str(), "w");
        ASSERT_TRUE(out);
        std::fprintf(out,
                     "source '%s'\nCOMP_WORDS=(%s%s)\nCOMP_CWORD=$((${#COMP_WORDS[@]} - 1))\n"
                     "_qv5\nprintf '%%s\\n' \"${COMPREPLY[@]}\" | sort | sed '/^$/d'\n",
                     completion.c_str(), c.line.c_str(), c.line.back() == ' ' ? "''" : "");
        std::fclose(out);
        r = test::RunShell("bash '" + script + "' 2>&1");
        EXPECT_EQ(r.out, c.replies) << c.line;
    }
    fs::remove_all(prefix);
}

}  // namespace
}  // namespace qv5
