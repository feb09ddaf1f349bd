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

#include <span>
#include <string>
#include <vector>

namespace qv5 {

// One command as the user gave it; relative paths among `args` are taken
// from `start_dir`, the host folder the program was started in. The
// program directory is set.
struct CommandCall {
    std::vector<std::string> args;  // after the command's name
    std::string start_dir;
};

// The exit code of the command; kWrongUsage when the arguments do not fit
// it (the usage is then shown and the program exits with 2).
using CommandHandler = int (*)(const CommandCall&);
inline constexpr int kWrongUsage = -2;

struct Command {
    const char* name;
    // The arguments as --help shows them: a word per argument, NAME... for
    // one or more, A|B for one of the words, --word for the word itself.
    const char* arguments;
    const char* help;  // lines of at most 58 columns, "\n" between them
    const char* group;  // the heading of its block in --help
    bool needs_qt;      // runs in QV5-full
    CommandHandler handler;  // null in the other program's copy
    // False for a command that makes its game folder (init): it runs without
    // one, the program directory unset.
    bool needs_game_folder = true;
};

std::span<const Command> Commands();

// The command named `name`; null when there is none.
const Command* FindCommand(const std::string& name);

// Whether `count` arguments fit the command's argument list.
bool ArgumentsFit(const Command& command, size_t count);

// The text of --help, made from the table.
std::string UsageText();

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

// The command `rest` names (a command and its arguments), when its arguments
// fit it; else null, after showing the usage (or, for an empty argument,
// saying so) on stderr.
const Command* CommandOf(const std::vector<std::string>& rest);

// Runs a command whose handler this program holds, the program directory
// set; returns the exit code (2 with the usage for arguments it refused, and
// never 0 when the standard output could not be written).
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
