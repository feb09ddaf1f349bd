// The command table and what is made of it. This file is compiled into each
// program with the handlers of that program's commands: QV5_QUICK_PROGRAM
// gives the quick program's copy (commands without Qt), QV5_FULL_PROGRAM the
// full program's (commands with Qt), QV5_TABLE_ONLY none (the documents made
// of the table); without any, as in the tests, both columns are filled.
#include "cli/command_table.h"

#include <errno.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "cli/command_parse.h"
#include "cli/command_support.h"
#include "cli/commands.h"
#include "platform/paths.h"

namespace qv5 {
namespace {

#if defined(QV5_TABLE_ONLY)
#define WITHOUT_QT(handler) false, nullptr
#define WITH_QT(handler) true, nullptr
#elif defined(QV5_QUICK_PROGRAM)
#define WITHOUT_QT(handler) false, &handler
#define WITH_QT(handler) true, nullptr
#elif defined(QV5_FULL_PROGRAM)
#define WITHOUT_QT(handler) false, nullptr
#define WITH_QT(handler) true, &handler
#else
#define WITHOUT_QT(handler) false, &handler
#define WITH_QT(handler) true, &handler
#endif

constexpr const char* kLibrary =
    "Commands (song library maintenance; a PATH is taken from the current folder):";
constexpr const char* kInstall = "Commands (song installation):";
constexpr const char* kPlayers = "Commands (players and courses):";
constexpr const char* kFolders = "Commands (song folders; they change no file and no library row):";
constexpr const char* kGame = "Commands (game body, with the settings of config.xml):";
constexpr const char* kMedia = "Commands (media files, with the encoder and decoder of config.xml):";
constexpr const char* kSetUp = "Commands (game folders):";
constexpr const char* kTables = "Commands (difficulty tables, kept in QV5files/Tables):";

constexpr Option kInstallOptions[] = {
    {"--auto", nullptr, "each chart into the song folder of its sounds"},
    {"--into", "FOLDER", "the folder the songs go into (needed without --auto)", "songs/new",
     nullptr, "--auto"},
};

constexpr Option kCheckOptions[] = {
    {"--json", nullptr, "the findings as one JSON document"},
};

constexpr Option kSongsOptions[] = {
    {"--mode", "N", "only charts of the mode N (5, 7, 9, 10, 14)", "7"},
    {"--level", "A-B", "only levels A to B (also A-, -B or A alone)", "3-5"},
    {"--difficulty", "N", "only the difficulty N (1-5 or BEGINNER ... EX)", "4",
     "1 2 3 4 5 BEGINNER NORMAL HYPER ANOTHER EX"},
    {"--favorites", nullptr, "only the favorites"},
    {"--not-played", nullptr, "only charts never played"},
    {"--not-cleared", nullptr, "only charts not cleared"},
    {"--new", nullptr, "only charts added within the new-song hours"},
    {"--sort", "[-]COLUMN",
     "the order (title, artist, genre, level, exlevel,\n"
     "difficulty, mode, bpm, notes, added, path, lamp,\n"
     "rate); a leading - reverses it",
     "-level", "title artist genre level exlevel difficulty mode bpm notes added path lamp rate"},
    {"--tsv", nullptr,
     "every column, tab-separated, under a header line;\n"
     "the path as the game names it, then as this system does"},
    {"--table", "NAME[:LEVEL]",
     "only the charts of the kept table NAME's level\n"
     "folders, or of its level LEVEL as the game shows it\n"
     "(symbol and level, \"sl3\")",
     "Satellite:sl3"},
};

constexpr Option kTablesOptions[] = {
    {"--level", "L",
     "with NAME: its entries of level L (held or missing,\n"
     "title, artist, paths, url, url_diff)",
     "12"},
    {"--missing", nullptr, "with NAME: its entries the library does not hold"},
    {"--json", nullptr, "the same as one JSON document"},
};

constexpr Option kProgramOptions[] = {
    {"--dir", "GAMEDIR",
     "the game folder holding QV5files (default: the\n"
     "executable's folder when it holds QV5files, else the\n"
     "folder last chosen in the window's game folder chooser)",
     "~/qv5"},
    {"--help", nullptr, "show this text; COMMAND --help shows a command's"},
    {"--version", nullptr, "show the versions of the program and its libraries"},
    {"--screenshot", "FILE",
     "start the window, switch to the tab of --tab (as a\n"
     "click would: the settings are applied), open the root\n"
     "folders and the first song folder, save a picture of\n"
     "the window to FILE (PNG) and exit",
     "window.png"},
    {"--tab", "NAME",
     "the tab of --screenshot (MAIN by default): a tab's\n"
     "caption, or ABOUT (the About box), CHOOSER (the game\n"
     "folder chooser, on a --dir without QV5files), CHECK (the\n"
     "library check's report), SONGS (the song list window),\n"
     "TABLES (the tables window); over JUKEBOX1, TREEMENU (the\n"
     "folder tree's menu of a song folder), CONFIRM (the\n"
     "question of \"Rescan all\"), TOOLS (the tool settings\n"
     "dialog), PROGRESS (a progress window part way)",
     "SONGS",
     "MAIN JUKEBOX1 JUKEBOX2 OPTION SYSTEM SELECT ABOUT CHOOSER CHECK SONGS TABLES TREEMENU "
     "CONFIRM TOOLS PROGRESS"},
};

constexpr Command kCommands[] = {
    {"add-root", "PATH",
     "register the folder PATH as a song folder: scan it, infer\n"
     "difficulties and add it to the song folders of config.xml",
     kLibrary, WITHOUT_QT(RunAddRoot)},
    {"refresh", "PATH",
     "bring the library up to date for everything below PATH,\n"
     "which must lie in a registered song folder",
     kLibrary, WITHOUT_QT(RunRefresh)},
    {"rescan", "", "rebuild the library from every configured song folder", kLibrary,
     WITHOUT_QT(RunRescan)},
    {"remove-root", "PATH",
     "exclude the song folder PATH: its charts leave the library\n"
     "and the folder leaves config.xml; no file is changed",
     kLibrary, WITHOUT_QT(RunRemoveRoot)},
    {"install", "ARCHIVE_OR_CHART...",
     "install the songs of the zip or rar ARCHIVEs into FOLDER,\n"
     "a folder of the song library, as dropping them on the\n"
     "window does: charts at an archive's root go into a new\n"
     "folder named after it; the new folder is registered.\n"
     "Existing files are never replaced and entries naming\n"
     "places outside FOLDER or links are left out (counted on\n"
     "stderr); a failed install leaves nothing behind. The\n"
     "archives are kept. With --auto a chart file (.bms .bme\n"
     ".bml .pms) is copied into the registered song folder\n"
     "holding the files it uses (at least 80% of them, told as\n"
     "\"214 of 220 sounds found\"), when its rare names make\n"
     "that folder certain, and so is each chart of an archive\n"
     "of additional charts (one that lacks most of the sounds\n"
     "its charts use); the others go into FOLDER, or without\n"
     "--into they are listed and not installed (exit 1). A\n"
     "chart of the name with other bytes is kept: the copy is\n"
     "\"name (2).bme\"",
     kInstall, WITHOUT_QT(RunInstall), true, kInstallOptions},
    {"import-courses", "FILE",
     "store the course list FILE (XML) in the course tables of\n"
     "song.db; the file is deleted once it has been stored",
     kPlayers, WITH_QT(RunImportCourses)},
    {"restore-scores", "ID PASSWORD IRID",
     "create the player ID with PASSWORD from the scores of the\n"
     "QV5IR account IRID, downloaded from the ranking service",
     kPlayers, WITH_QT(RunRestoreScores)},
    {"hidden-search", "FOLDER",
     "list the hidden charts of FOLDER (not its sub-folders): files\n"
     "without a chart extension that hold notes",
     kFolders, WITHOUT_QT(RunHiddenSearch)},
    {"info", "CHART",
     "show the information panel's six lines for the chart file\n"
     "CHART, with the score of the player of config.xml",
     kFolders, WITHOUT_QT(RunInfo)},
    {"check", "[KIND...]",
     "check the song folders and the library: duplicates\n"
     "(charts of one song hash), missing (files a chart uses\n"
     "that its folder lacks), unreadable (charts that cannot be\n"
     "read or hold no notes, rows without a hash), names (names\n"
     "without a Shift-JIS form, paths too long), out-of-date\n"
     "(rows without files, charts without rows, missing song\n"
     "folders); all kinds without KIND. One finding a line, or\n"
     "JSON with --json. Exits 0 when nothing was found, 1 when\n"
     "something was, 2 when the check could not run or was\n"
     "stopped",
     kFolders, WITHOUT_QT(RunCheck), true, kCheckOptions,
     "duplicates missing unreadable names out-of-date"},
    {"songs", "[WORDS...]",
     "list the charts of the library as the song list window\n"
     "shows them, one a line, path first (newest first); WORDS\n"
     "must all occur in the title, artist, genre or path (any\n"
     "case, full- or half-width)",
     kFolders, WITHOUT_QT(RunSongs), true, kSongsOptions},
    {"play", "CHART", "play the chart file CHART with QV5body.exe and wait for it", kGame,
     WITHOUT_QT(RunPlay)},
    {"autoplay", "CHART", "start QV5body.exe in autoplay on CHART and return", kGame,
     WITHOUT_QT(RunAutoplay)},
    {"convert", "wav2ogg|ogg2wav|bmp2png|png2bmp|all FOLDER",
     "convert the files of FOLDER and its sub-folders (all: wav\n"
     "to ogg and bmp to png); a source is deleted once its\n"
     "converted twin has been written",
     kMedia, WITH_QT(RunConvert)},
    {"add-table", "SOURCE",
     "fetch the difficulty table SOURCE (its page, its header\n"
     "JSON, or such a file) and keep it; prints its name, its\n"
     "levels and how many of their charts the library holds.\n"
     "Refused when a kept table has its name",
     kTables, WITH_QT(RunAddTable)},
    {"update-tables", "[NAME...]",
     "update every kept table (or those named) from its source,\n"
     "one line each with what changed; a table that fails keeps\n"
     "its copy. Exits 0 only when every table was updated",
     kTables, WITH_QT(RunUpdateTables)},
    {"remove-table", "NAME", "remove the kept table NAME (its name or its symbol)", kTables,
     WITH_QT(RunRemoveTable)},
    {"tables", "[NAME]",
     "list the kept tables; with NAME, the table's levels with\n"
     "held / total",
     kTables, WITH_QT(RunTables), true, kTablesOptions},
    {"init", "DIR",
     "make DIR (created when missing) a ready game folder:\n"
     "QV5files with its folders and an empty song folder\n"
     "songs, registered; no player (the window asks for the\n"
     "first). Refused when DIR holds QV5files already",
     kSetUp, WITHOUT_QT(RunInit), false},
};

constexpr const char* kHead =
    "Usage: QV5 [--dir GAMEDIR] [COMMAND [ARGUMENT...] [OPTION...]]\n"
    "\n"
    "Without a command, starts the QV5 SETUP window (it needs a display; on a\n"
    "machine without one, run it under xvfb-run). GAMEDIR is the game folder\n"
    "holding QV5files (default: the folder of the executable when it holds\n"
    "QV5files, else the folder last chosen in the window's game folder chooser).\n";

constexpr const char* kAfterOptions =
    "\n"
    "QV5 COMMAND --help shows one command with its options. Each library command\n"
    "changes the library completely or not at all (Ctrl-C stops it and leaves the\n"
    "library as it was), and exits with 1 and a message when it could not. While\n"
    "another program (the game) is using the library, it waits up to 30 seconds\n"
    "for it to be free. A wrong command line is said with the command's usage\n"
    "line and exits 2.\n";

}  // namespace

std::span<const Command> Commands() {
    return kCommands;
}

const Command* FindCommand(const std::string& name) {
    for (const Command& c : kCommands)
        if (name == c.name) return &c;
    return nullptr;
}

std::string HelpText(const std::vector<std::string>& rest) {
    const Command* c = rest.empty() ? nullptr : FindCommand(rest[0]);
    return c ? CommandHelpText(*c) : UsageText();
}

std::span<const Option> ProgramOptions() {
    return kProgramOptions;
}

std::string UsageText() {
    constexpr size_t kColumn = 18;  // where the help texts begin
    std::string text = kHead;
    const char* group = nullptr;
    for (const Command& c : kCommands) {
        if (!group || std::strcmp(group, c.group) != 0) {
            group = c.group;
            text += std::string("\n") + group + "\n";
        }
        const std::string call = "  " + CommandSynopsis(c, true);
        text += call;
        if (call.size() + 2 <= kColumn)
            text += std::string(kColumn - call.size(), ' ');
        else
            text += "\n" + std::string(kColumn, ' ');
        for (const char* p = c.help; *p; ++p) {
            text += *p;
            if (*p == '\n') text += std::string(kColumn, ' ');
        }
        text += "\n" + OptionLines(c.options, 6);
    }
    return text + "\nOptions:\n" + OptionLines(kProgramOptions, 2) + kAfterOptions;
}

CommandLine ReadCommandLine(int argc, char** argv) {
    CommandLine line;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--help" || a == "-h") {
            line.help = true;
        } else if (a == "--version") {
            line.version = true;
        } else if (a == "--dir" || a == "--screenshot" || a == "--tab") {
            if (i + 1 >= argc) {
                line.error = a == "--dir" ? "--dir needs a folder" : a + " needs a value";
                return line;
            }
            const std::string value = argv[++i];
            if (a == "--dir") {
                line.dir = value;
                line.dir_given = true;
            } else {
                (a == "--tab" ? line.tab : line.screenshot) = value;
            }
        } else {
            line.rest.push_back(a);
        }
        // The first of --help and --version ends the reading, as it ends the run.
        if (line.help || line.version) return line;
    }
    return line;
}

const Command* CommandOf(const std::vector<std::string>& rest) {
    if (rest.empty()) return nullptr;
    const Command* c = FindCommand(rest[0]);
    if (!c) {
        std::vector<std::string> names;
        for (const Command& known : kCommands) names.push_back(known.name);
        const auto near = Suggestion(rest[0], names);
        std::fprintf(stderr,
                     "QV5: unknown command %s%s\nUsage: QV5 [--dir GAMEDIR] [COMMAND]"
                     " (QV5 --help lists the commands)\n",
                     rest[0].c_str(), near ? (" (did you mean " + *near + "?)").c_str() : "");
        return nullptr;
    }
    // An empty word is what an unset variable gives a script; taken as a
    // path it would be the current folder, which nobody means.
    if (std::find(rest.begin() + 1, rest.end(), std::string()) != rest.end()) {
        UsageError(*c, "an empty argument names nothing (is a variable unset?)");
        return nullptr;
    }
    CommandCall call;
    std::string error;
    if (ParseCall(*c, std::vector<std::string>(rest.begin() + 1, rest.end()), call, error))
        return c;
    UsageError(*c, error);
    return nullptr;
}

int RunCommand(const Command& command, const std::vector<std::string>& rest,
               const std::string& start_dir) {
    CommandCall call;
    std::string error;
    if (!ParseCall(command, std::vector<std::string>(rest.begin() + 1, rest.end()), call, error))
        return UsageError(command, error);
    call.start_dir = start_dir;
    SetShownFrom(start_dir);
    return FinishCommand(command.handler(call));
}

bool StartedAsAnother(const char* own_name) {
    const char* as = std::getenv(kStartedAsVariable);
    const std::string started_as = as ? as : "";
    ::unsetenv(kStartedAsVariable);  // not for the programs this one starts
    if (started_as.empty() || started_as == own_name) return false;
    std::fprintf(stderr,
                 "QV5: cannot start %s: %s/%s is a copy of %s, not %s\n", started_as.c_str(),
                 ExecutableHostDirectory().c_str(), started_as.c_str(), own_name,
                 started_as.c_str());
    return true;
}

int HandOver(const char* name, const std::vector<std::string>& argv) {
    const std::string program = ExecutableHostDirectory() + "/" + name;
    // A copy of this very program under the other's name would start itself
    // for ever.
    if (SameHostFile("/proc/self/exe", program)) {
        std::fprintf(stderr, "QV5: cannot start %s: it is this program itself, not %s\n",
                     program.c_str(), name);
        return 127;
    }
    ::setenv(kStartedAsVariable, name, 1);
    std::vector<char*> pointers;
    for (const std::string& a : argv) pointers.push_back(const_cast<char*>(a.c_str()));
    pointers.push_back(nullptr);
    std::fflush(stdout);
    execv(program.c_str(), pointers.data());
    std::fprintf(stderr, "QV5: cannot start %s: %s\n", program.c_str(), std::strerror(errno));
    return 127;
}

}  // namespace qv5
