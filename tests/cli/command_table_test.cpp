// The command table: --help, the dispatch of every command in the program its
// row names, and the README's command table, all from the one table.
#include "cli/command_table.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

#include "support/shell.h"
#include "support/temp_game.h"

namespace qv5 {
namespace {

namespace fs = std::filesystem;

// Arguments that fit the command and name nothing that exists, so that each
// command stops at its first check: a word per argument, the first of
// alternatives, option words as they are; [optional] words left out.
std::string Placeholders(const Command& c) {
    std::istringstream words(c.arguments);
    std::string out, word;
    bool optional = false;
    while (words >> word) {
        if (word.front() == '[') optional = true;
        if (optional) {
            optional = word.back() != ']';
            continue;
        }
        if (word.size() > 3 && word.compare(word.size() - 3, 3, "...") == 0)
            word.resize(word.size() - 3);
        if (word.find('|') != std::string::npos)
            word = word.substr(0, word.find('|'));
        else if (word.rfind("--", 0) != 0)
            word = "/nonexistent/" + word;
        out += " '" + word + "'";
    }
    return out;
}

test::ShellResult RunIn(const std::string& exe, const std::string& game, const std::string& args) {
    return test::RunShell("'" + exe + "' --dir '" + game + "' " + args + " 2>&1");
}

TEST(CommandTable, HelpShowsEveryCommandWithItsArgumentsAndHelp) {
    const test::ShellResult r = test::RunShell(std::string("'") + QV5_EXE + "' --help");
    ASSERT_EQ(r.code, 0);
    EXPECT_EQ(r.out, UsageText());
    for (const Command& c : Commands()) {
        std::string call = std::string("\n  ") + c.name;
        if (*c.arguments) call += std::string(" ") + c.arguments;
        EXPECT_TRUE(r.out.find(call + " ") != std::string::npos ||
                    r.out.find(call + "\n") != std::string::npos)
            << c.name;
        std::istringstream lines(c.help);
        for (std::string line; std::getline(lines, line);)
            EXPECT_NE(r.out.find(line + "\n"), std::string::npos) << c.name << ": " << line;
    }
}

TEST(CommandTable, ArgumentCounts) {
    const struct {
        const char* name;
        size_t count;
        bool fits;
    } cases[] = {
        {"rescan", 0, true},         {"rescan", 1, false},  {"refresh", 0, false},
        {"refresh", 1, true},        {"refresh", 2, false}, {"install", 0, false},
        {"install", 2, true},        {"install", 7, true},  {"restore-scores", 2, false},
        {"restore-scores", 3, true}, {"convert", 2, true},  {"convert", 1, false},
        {"check", 0, true},          {"check", 4, true},
    };
    for (const auto& c : cases) {
        const Command* command = FindCommand(c.name);
        ASSERT_NE(command, nullptr) << c.name;
        EXPECT_EQ(ArgumentsFit(*command, c.count), c.fits) << c.name << " " << c.count;
    }
    EXPECT_EQ(FindCommand("frobnicate"), nullptr);
}

// Every command reaches its handler (no usage, no exit 2) through the quick
// program; alone, the quick program runs its own rows and says it cannot
// start the full program for the others.
TEST(CommandTable, EveryCommandIsDispatchedInTheProgramItsRowNames) {
    test::TempGame game;
    const fs::path alone =
        fs::path(game.host()).parent_path() / (fs::path(game.host()).filename().string() + ".bin");
    fs::create_directories(alone);
    fs::copy_file(QV5_EXE, alone / "QV5");
    for (const Command& c : Commands()) {
        const std::string args = c.name + Placeholders(c);
        const test::ShellResult both = RunIn(QV5_EXE, game.host(), args);
        EXPECT_NE(both.code, 2) << args << "\n" << both.out;
        EXPECT_NE(both.code, 127) << args << "\n" << both.out;
        EXPECT_EQ(both.out.find("Usage:"), std::string::npos) << args << "\n" << both.out;
        const test::ShellResult quick = RunIn((alone / "QV5").string(), game.host(), args);
        EXPECT_EQ(quick.code == 127, c.needs_qt) << args << "\n" << quick.out;
        EXPECT_EQ(quick.out.find("cannot start") != std::string::npos, c.needs_qt) << args;
        // One argument too many is refused with the usage, before any hand-over.
        if (std::string(c.arguments).find("...") == std::string::npos) {
            const test::ShellResult extra = RunIn((alone / "QV5").string(), game.host(), args + " x");
            EXPECT_EQ(extra.code, 2) << args;
            EXPECT_NE(extra.out.find("Usage:"), std::string::npos) << args;
        }
    }
    fs::remove_all(alone);
}

// The README's command table has a row for each command and none for a
// command the program does not know.
TEST(CommandTable, TheReadmeDocumentsEveryCommand) {
    std::ifstream readme(QV5_README);
    ASSERT_TRUE(readme);
    std::set<std::string> documented;
    bool in_table = false;
    for (std::string line; std::getline(readme, line);) {
        if (line == "| command | what it does |") in_table = true;
        if (!in_table) continue;
        if (line.rfind("| `", 0) != 0) {
            if (!documented.empty() && line.rfind('|', 0) != 0) break;
            continue;
        }
        const std::string call = line.substr(3, line.find('`', 3) - 3);
        documented.insert(call.substr(0, call.find(' ')));
    }
    for (const Command& c : Commands()) EXPECT_TRUE(documented.count(c.name)) << c.name;
    for (const std::string& name : documented)
        EXPECT_TRUE(name.rfind("--", 0) == 0 || FindCommand(name)) << name;
}

}  // namespace
}  // namespace qv5
