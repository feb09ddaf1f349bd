// The command line's one front door: every command once, with its arguments,
// its help text, the program it runs in and its handler. `--help`, the
// dispatch and the hand-over between the two programs all read this table.
//
// The program is two executables. `QV5` holds the commands that need neither
// Qt nor the window's libraries and starts in a few milliseconds; `QV5-full`
// holds the window and the commands that need Qt. Each program's copy of the
// table has the handlers of its own commands only (the other column is
// empty there), so no command is linked into both; a command whose handler
// is missing is handed, as a whole command line, to the other program.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace qv5 {

struct Command;

// An option of a command: "--json", or "--into FOLDER" with its value (also
// written "--into=FOLDER"). Each may be given once.
struct Option {
    const char* name;   // with its "--"
    const char* value;  // the value's placeholder (FOLDER, A-B); null for a flag
    const char* help;   // lines of at most 56 columns, "\n" between them
    // A value the error of a missing or wrong one shows ("3-5").
    const char* example = nullptr;
    // The words the value completes to, space-separated; else the
    // placeholder says (FOLDER: folders, FILE: files).
    const char* words = nullptr;
    // An option that must be given unless this other one is ("--auto").
    const char* needed_unless = nullptr;
};

// One command as the user gave it, read against its row: the positional
// arguments and the options. Relative paths among them are taken from
// `start_dir`, the host folder the program was started in. The program
// directory is set.
struct CommandCall {
    const Command* command = nullptr;
    std::vector<std::string> args;                             // the positional arguments, in order
    std::vector<std::pair<std::string, std::string>> options;  // name, value ("" for a flag)
    std::string start_dir;

    bool Has(std::string_view option) const;
    // The value of an option that takes one; nullopt when it was not given.
    std::optional<std::string> Value(std::string_view option) const;
};

// The exit code of the command.
using CommandHandler = int (*)(const CommandCall&);

struct Command {
    const char* name;
    // The positional arguments as --help shows them: a word per argument,
    // NAME... for one or more, [NAME] for one that may be left out, A|B for
    // one of the words. The placeholder says what completes it: FOLDER and
    // DIR folders; PATH files and folders; FILE, CHART, ARCHIVE_OR_CHART and
    // SOURCE files; KIND the row's `words`.
    const char* arguments;
    const char* help;  // lines of at most 58 columns, "\n" between them
    const char* group;  // the heading of its block in --help
    bool needs_qt;      // runs in QV5-full
    CommandHandler handler;  // null in the other program's copy
    // False for a command that makes its game folder (init): it runs without
    // one, the program directory unset.
    bool needs_game_folder = true;
    std::span<const Option> options = {};
    const char* words = nullptr;  // what a KIND argument completes to
};

std::span<const Command> Commands();

// The command named `name`; null when there is none.
const Command* FindCommand(const std::string& name);

// Whether `count` arguments fit the command's argument list.
bool ArgumentsFit(const Command& command, size_t count);

// The text of --help, made from the table.
std::string UsageText();
// What --help shows for the command line `line.rest`: one command's help
// when it names a command, else UsageText().
std::string HelpText(const std::vector<std::string>& rest);
// The options of the program itself (--dir, --help, ...), for the manual
// and the completion; ReadCommandLine reads them.
std::span<const Option> ProgramOptions();

// The options and the command of a command line, read the same way by both
// programs: `--dir`, `--screenshot` and `--tab` take a value and may stand
// anywhere; every other word is the command and its arguments, in order.
struct CommandLine {
    std::string dir;  // --dir, or empty
    bool dir_given = false;
    bool help = false;     // --help or -h
    bool version = false;  // --version
    std::string screenshot, tab = "MAIN";
    std::vector<std::string> rest;  // the command and its arguments
    std::string error;              // what is wrong with the options; empty when none
};
CommandLine ReadCommandLine(int argc, char** argv);

// The command `rest` names (a command and its arguments), when its
// arguments and options fit its row; else null, after saying what is wrong
// on stderr (UsageError's form).
const Command* CommandOf(const std::vector<std::string>& rest);

// Runs a command whose handler this program holds, the program directory
// set; returns the exit code (never 0 when the standard output could not be
// written).
int RunCommand(const Command& command, const std::vector<std::string>& rest,
               const std::string& start_dir);

// The variable a hand-over names its target in, so that the program started
// can tell that it is not the one that was meant.
inline constexpr const char* kStartedAsVariable = "QV5_STARTED_AS";
// True, after saying so on stderr, when this program (`own_name`) was started
// by a hand-over meant for the other program: a copy of one program under
// the other's name would otherwise hand the command line to itself for ever.
bool StartedAsAnother(const char* own_name);

// Ends this process by starting the program `name` beside the executable in
// its place with `argv` (argv[0] included); says why and returns 127 when it
// cannot.
int HandOver(const char* name, const std::vector<std::string>& argv);

}  // namespace qv5
