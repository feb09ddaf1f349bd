// The command table and what is made of it. This file is compiled into each
// program with the handlers of that program's commands: QV5_QUICK_PROGRAM
// gives the quick program's copy (commands without Qt), QV5_FULL_PROGRAM the
// full program's (commands with Qt); without either, as in the tests, both
// columns are filled.
#include "cli/command_table.h"

#include <errno.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "cli/command_support.h"
#include "cli/commands.h"
#include "platform/paths.h"

namespace qv5 {
namespace {

#if defined(QV5_QUICK_PROGRAM)
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
    {"install", "ARCHIVE_OR_CHART... [--auto] [--into FOLDER]",
     "install the songs of the zip or rar ARCHIVEs into FOLDER\n"
     "(--into, needed without --auto), a folder of the song\n"
     "library, as dropping them on the window does: charts at\n"
     "an archive's root go into a new folder named after it;\n"
     "the new folder is registered.\n"
     "Existing files are never replaced and entries naming\n"
     "places outside FOLDER or links are left out (counted on\n"
     "stderr); a failed install leaves nothing behind. The\n"
     "archives are kept. With --auto a chart file (.bms .bme\n"
     ".bml .pms) is copied into the registered song folder\n"
     "holding the files it uses (at least 80% of them, told as\n"
     "\"214 of 220 sounds found\"), when its rare names make\n"
     "that folder certain; else into FOLDER, or without --into\n"
     "it is listed and not installed (exit 1). A chart of the\n"
     "name with other bytes is kept: the copy is \"name (2).bme\".\n"
     "Archives with --auto install as without it.",
     kInstall, WITHOUT_QT(RunInstall)},
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
    {"check", "[KIND...] [--json]",
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
     kFolders, WITHOUT_QT(RunCheck)},
    {"songs", "[WORDS...]",
     "list the charts of the library as the song list window\n"
     "shows them, one a line, path first (newest first); WORDS\n"
     "must all occur in the title, artist, genre or path (any\n"
     "case, full- or half-width). Options: --mode N,\n"
     "--level A-B, --difficulty N, --favorites, --not-played,\n"
     "--not-cleared, --new (added within the new-song hours),\n"
     "--sort [-]COLUMN (title, artist, genre, level, exlevel,\n"
     "difficulty, mode, bpm, notes, added, path, lamp, rate;\n"
     "- reverses), --tsv (every column, tab-separated, under a\n"
     "header line), --table NAME[:LEVEL] (the charts of the kept\n"
     "table NAME's level folders, or of its level LEVEL as the\n"
     "game shows it: symbol and level, \"sl3\")",
     kFolders, WITHOUT_QT(RunSongs)},
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
    {"tables", "[NAME] [OPTION...]",
     "list the kept tables; with NAME, the table's levels with\n"
     "held / total. Options: --level L or --missing (with NAME):\n"
     "its entries of level L, or those not held (held or\n"
     "missing, title, artist, paths, url, url_diff); --json: the\n"
     "same as one JSON document",
     kTables, WITH_QT(RunTables)},
    {"init", "DIR",
     "make DIR (created when missing) a ready game folder:\n"
     "QV5files with its folders and an empty song folder\n"
     "songs, registered; no player (the window asks for the\n"
     "first). Refused when DIR holds QV5files already",
     kSetUp, WITHOUT_QT(RunInit), false},
};

constexpr const char* kHead =
    "Usage: QV5 [--dir GAMEDIR] [COMMAND]\n"
    "\n"
    "Without a command, starts the QV5 SETUP window (it needs a display; on a\n"
    "machine without one, run it under xvfb-run). GAMEDIR is the game folder\n"
    "holding QV5files (default: the folder of the executable when it holds\n"
    "QV5files, else the folder last chosen in the window's game folder chooser).\n";

constexpr const char* kOptions =
    "  --help          show this text\n"
    "  --version       show the versions of the program and of its libraries\n"
    "  --screenshot FILE [--tab NAME]\n"
    "                  start the window, switch to the tab NAME (as a click\n"
    "                  would: the settings are applied), open the root folders\n"
    "                  and the first song folder, save a picture of the window\n"
    "                  to FILE (PNG) and exit; --tab ABOUT pictures the About box,\n"
    "                  --tab CHOOSER the game folder chooser (on a --dir without\n"
    "                  QV5files), --tab CHECK the library check's report, --tab\n"
    "                  SONGS the song list window; over JUKEBOX1, --tab TREEMENU\n"
    "                  the folder tree's menu of a song folder, CONFIRM the\n"
    "                  question of \"Rescan all\", TOOLS the tool settings dialog,\n"
    "                  PROGRESS a progress window part way\n"
    "\n"
    "Each library command changes the library completely or not at all (Ctrl-C\n"
    "stops it and leaves the library as it was), and exits with 1 and a message\n"
    "when it could not. While another program (the game) is using the library,\n"
    "it waits up to 30 seconds for it to be free.\n";

// The words of an argument list.
std::vector<std::string> Words(const char* text) {
    std::vector<std::string> words;
    std::string word;
    for (const char* p = text;; ++p) {
        if (*p == ' ' || *p == '\0') {
            if (!word.empty()) words.push_back(word);
            word.clear();
            if (*p == '\0') return words;
        } else {
            word += *p;
        }
    }
}

bool EndsWithDots(const std::string& word) {
    return word.size() > 3 && word.compare(word.size() - 3, 3, "...") == 0;
}

}  // namespace

std::span<const Command> Commands() {
    return kCommands;
}

const Command* FindCommand(const std::string& name) {
    for (const Command& c : kCommands)
        if (name == c.name) return &c;
    return nullptr;
}

bool ArgumentsFit(const Command& command, size_t count) {
    // Words in [brackets] may be left out; a word with "..." takes any number.
    size_t required = 0, optional = 0;
    bool unbounded = false, in_brackets = false;
    for (std::string word : Words(command.arguments)) {
        if (word.front() == '[') in_brackets = true;
        const bool closes = word.back() == ']';
        if (closes) word.pop_back();
        if (EndsWithDots(word)) unbounded = true;
        ++(in_brackets ? optional : required);
        if (closes) in_brackets = false;
    }
    return count >= required && (unbounded || count <= required + optional);
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
        std::string call = std::string("  ") + c.name;
        if (*c.arguments) call += std::string(" ") + c.arguments;
        text += call;
        if (call.size() + 2 <= kColumn)
            text += std::string(kColumn - call.size(), ' ');
        else
            text += "\n" + std::string(kColumn, ' ');
        for (const char* p = c.help; *p; ++p) {
            text += *p;
            if (*p == '\n') text += std::string(kColumn, ' ');
        }
        text += "\n";
    }
    return text + "\n" + kOptions;
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
    const Command* c = rest.empty() ? nullptr : FindCommand(rest[0]);
    // An empty word is what an unset variable gives a script; taken as a
    // path it would be the current folder, which nobody means.
    if (c && std::find(rest.begin() + 1, rest.end(), std::string()) != rest.end()) {
        std::fprintf(stderr, "QV5: %s: an empty argument names nothing (is a variable unset?)\n",
                     c->name);
        return nullptr;
    }
    if (c && ArgumentsFit(*c, rest.size() - 1)) return c;
    std::fputs(UsageText().c_str(), stderr);
    return nullptr;
}

int RunCommand(const Command& command, const std::vector<std::string>& rest,
               const std::string& start_dir) {
    const CommandCall call{std::vector<std::string>(rest.begin() + 1, rest.end()), start_dir};
    const int code = command.handler(call);
    if (code == kWrongUsage) {
        std::fputs(UsageText().c_str(), stderr);
        return 2;
    }
    return FinishCommand(code);
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
