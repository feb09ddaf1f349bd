// The command table: --help, the dispatch of every command in the program its
// row names, and the README's command table, all from the one table.
#include "cli/command_table.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <sstream>

#include "cli/command_docs.h"
#include "cli/command_parse.h"
#include "support/shell.h"
#include "support/temp_game.h"

namespace qv5 {
namespace {

namespace fs = std::filesystem;

// Arguments that fit the command and name nothing that exists, so that each
// command stops at its first check: a word per argument, the first of
// alternatives, [optional] words left out unless `all`; the options that
// must be given, with their example values.
std::vector<std::string> PlaceholderWords(const Command& c, bool all = false) {
    std::istringstream words(c.arguments);
    std::vector<std::string> out;
    std::string word;
    bool optional = false;
    while (words >> word) {
        if (word.front() == '[') optional = true;
        const bool left_out = optional && !all;
        if (optional) optional = word.back() != ']';
        if (left_out) continue;
        word.erase(std::remove(word.begin(), word.end(), '['), word.end());
        word.erase(std::remove(word.begin(), word.end(), ']'), word.end());
        if (word.size() > 3 && word.compare(word.size() - 3, 3, "...") == 0)
            word.resize(word.size() - 3);
        if (word.find('|') != std::string::npos)
            word = word.substr(0, word.find('|'));
        else
            word = "/nonexistent/" + word;
        out.push_back(word);
    }
    for (const Option& o : c.options)
        if (o.needed_unless) out.insert(out.end(), {o.name, o.example});
    return out;
}

std::string Quoted(const std::vector<std::string>& words) {
    std::string out;
    for (const std::string& w : words) out += " '" + w + "'";
    return out;
}

std::string Placeholders(const Command& c) {
    return Quoted(PlaceholderWords(c));
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
    }
    fs::remove_all(alone);
}

// Every row's wrong command lines, said in one form before any hand-over (by
// the quick program alone): "NAME: what is wrong", the row's usage line,
// exit 2.
TEST(CommandTable, EveryRowsWrongCommandLinesAreSaidInOneForm) {
    test::TempGame game;
    const fs::path alone =
        fs::path(game.host()).parent_path() / (fs::path(game.host()).filename().string() + ".one");
    fs::create_directories(alone);
    fs::copy_file(QV5_EXE, alone / "QV5");
    struct Case {
        std::string args, said;
    };
    for (const Command& c : Commands()) {
        const std::vector<std::string> fit = PlaceholderWords(c);
        std::vector<Case> cases;
        size_t required = 0;
        while (required <= 64 && !ArgumentsFit(c, required)) ++required;
        if (required > 0) {
            // The last argument left out: it is named.
            std::istringstream words(c.arguments);
            std::string last;
            for (size_t i = 0; i < required && words >> last;) ++i;
            if (last.size() > 3 && last.compare(last.size() - 3, 3, "...") == 0)
                last.resize(last.size() - 3);
            std::vector<std::string> fewer = PlaceholderWords(c);
            fewer.erase(fewer.begin() + long(required - 1));
            cases.push_back({Quoted(fewer), last + " is missing"});
        }
        const std::vector<std::string> every = PlaceholderWords(c, true);
        if (!ArgumentsFit(c, 64))
            cases.push_back({Quoted(every) + " extra", "too many arguments: extra"});
        cases.push_back({Placeholders(c) + " --frobnicate", "unknown option --frobnicate"});
        for (const Option& o : c.options) {
            // A slip of a letter is named with the option meant.
            const std::string slip = std::string(o.name).substr(0, std::strlen(o.name) - 1) + "x";
            cases.push_back({Placeholders(c) + " " + slip,
                             "unknown option " + slip + " (did you mean " + o.name + "?)"});
            if (o.value && !o.needed_unless)
                cases.push_back({Placeholders(c) + " " + o.name,
                                 std::string(o.name) + " needs a value such as " + o.example});
            if (!o.needed_unless)
                cases.push_back({Placeholders(c) + " " + o.name + (o.value ? " a " : " ") + o.name +
                                     (o.value ? " b" : ""),
                                 std::string(o.name) + " given twice"});
        }
        for (const Case& k : cases) {
            const std::string args = c.name + k.args;
            SCOPED_TRACE(args);
            const test::ShellResult r = test::RunShell(
                "'" + (alone / "QV5").string() + "' --dir '" + game.host() + "' " + args + " 2>&1");
            EXPECT_EQ(r.code, 2) << r.out;
            EXPECT_EQ(
                r.out.rfind(std::string(c.name) + ": " + k.said + "\nUsage: QV5 " + c.name, 0), 0u)
                << r.out;
            // The usage line is the row's alone, not the whole of --help.
            EXPECT_EQ(r.out.find("Commands ("), std::string::npos) << r.out;
        }
    }
    fs::remove_all(alone);
}

// COMMAND --help is the row's own help, options included; an unknown
// command is said with a suggestion.
TEST(CommandTable, CommandHelpAndUnknownCommands) {
    for (const Command& c : Commands()) {
        const test::ShellResult r =
            test::RunShell(std::string("'") + QV5_EXE + "' " + c.name + " --help");
        EXPECT_EQ(r.code, 0) << c.name;
        EXPECT_EQ(r.out.rfind(std::string("Usage: QV5 ") + c.name, 0), 0u) << r.out;
        for (const Option& o : c.options)
            EXPECT_NE(r.out.find(std::string("  ") + o.name), std::string::npos) << r.out;
    }
    const test::ShellResult r = test::RunShell(std::string("'") + QV5_EXE + "' instal x 2>&1");
    EXPECT_EQ(r.code, 2);
    EXPECT_EQ(r.out.rfind("QV5: unknown command instal (did you mean install?)\n", 0), 0u) << r.out;
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The reference the repository shows is the one the build makes of the
// table, and the manual's prose has a section of detail for each command of
// the table and for no other.
TEST(CommandTable, TheReferenceInTheRepositoryIsMadeFromTheTable) {
    const std::string made = ReadFile(QV5_BUILD_DIR "/src/commands.md");
    ASSERT_FALSE(made.empty());
    EXPECT_EQ(ReadFile(QV5_SOURCE_DIR "/docs/commands.md"), made)
        << "docs/commands.md is out of date: build the target commands_md";
    const ManualText manual = ReadManual(ReadFile(QV5_SOURCE_DIR "/src/cli/manual.md"));
    std::set<std::string> detailed;
    for (const auto& [name, text] : manual.details) {
        EXPECT_TRUE(FindCommand(name)) << name;
        EXPECT_FALSE(text.empty()) << name;
        detailed.insert(name);
    }
    for (const Command& c : Commands()) {
        EXPECT_TRUE(detailed.count(c.name)) << c.name;
        EXPECT_NE(made.find(std::string("#### `") + CommandSynopsis(c) + "`"), std::string::npos)
            << c.name;
    }
}

}  // namespace
}  // namespace qv5
