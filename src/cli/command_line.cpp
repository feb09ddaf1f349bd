#include "cli/command_line.h"

#include <signal.h>
#include <unistd.h>

#include <cstdio>

#include "cli/command_convert.h"
#include "cli/command_import.h"
#include "cli/command_info.h"
#include "cli/command_install.h"
#include "cli/command_roots.h"
#include "cli/library_commands.h"
#include "config/config_file.h"
#include "config/tool_settings.h"

namespace qv5 {

const char* const kUsage =
    "Usage: QV5 [--dir GAMEDIR] [COMMAND]\n"
    "\n"
    "Without a command, starts the QV5 SETUP window (it needs a display; on a\n"
    "machine without one, run it under xvfb-run). GAMEDIR is the game folder\n"
    "holding QV5files (default: the folder of the executable when it holds\n"
    "QV5files, else the folder last chosen in the window's game folder chooser).\n"
    "\n"
    "Commands (song library maintenance; a PATH is taken from the current folder):\n"
    "  add-root PATH   register the folder PATH as a song folder: scan it, infer\n"
    "                  difficulties and add it to the song folders of config.xml\n"
    "  refresh PATH    bring the library up to date for everything below PATH,\n"
    "                  which must lie in a registered song folder\n"
    "  rescan          rebuild the library from every configured song folder\n"
    "  remove-root PATH\n"
    "                  exclude the song folder PATH: its charts leave the library\n"
    "                  and the folder leaves config.xml; no file is changed\n"
    "\n"
    "Commands (song installation):\n"
    "  install ARCHIVE... --into FOLDER\n"
    "                  install the songs of the zip or rar ARCHIVEs into FOLDER,\n"
    "                  a folder of the song library, as dropping them on the\n"
    "                  window does: charts at an archive's root go into a new\n"
    "                  folder named after it; the new folder is registered.\n"
    "                  Existing files are never replaced and entries naming\n"
    "                  places outside FOLDER or links are left out (counted on\n"
    "                  stderr); a failed install leaves nothing behind. The\n"
    "                  archives are kept.\n"
    "\n"
    "Commands (players and courses):\n"
    "  import-courses FILE\n"
    "                  store the course list FILE (XML) in the course tables of\n"
    "                  song.db; the file is deleted once it has been stored\n"
    "  restore-scores ID PASSWORD IRID\n"
    "                  create the player ID with PASSWORD from the scores of the\n"
    "                  QV5IR account IRID, downloaded from the ranking service\n"
    "\n"
    "Commands (song folders; they change no file and no library row):\n"
    "  hidden-search FOLDER\n"
    "                  list the hidden charts of FOLDER (not its sub-folders): files\n"
    "                  without a chart extension that hold notes\n"
    "  info CHART      show the information panel's six lines for the chart file\n"
    "                  CHART, with the score of the player of config.xml\n"
    "\n"
    "Commands (game body, with the settings of config.xml):\n"
    "  play CHART      play the chart file CHART with QV5body.exe and wait for it\n"
    "  autoplay CHART  start QV5body.exe in autoplay on CHART and return\n"
    "\n"
    "Commands (media files, with the encoder and decoder of config.xml):\n"
    "  convert wav2ogg|ogg2wav|bmp2png|png2bmp|all FOLDER\n"
    "                  convert the files of FOLDER and its sub-folders (all: wav\n"
    "                  to ogg and bmp to png); a source is deleted once its\n"
    "                  converted twin has been written\n"
    "\n"
    "  --help          show this text\n"
    "  --version       show the versions of the program and of its libraries\n"
    "  --screenshot FILE [--tab NAME]\n"
    "                  start the window, switch to the tab NAME (as a click\n"
    "                  would: the settings are applied), open the root folders\n"
    "                  and the first song folder, save a picture of the window\n"
    "                  to FILE (PNG) and exit; --tab ABOUT pictures the About box,\n"
    "                  --tab CHOOSER the game folder chooser (on a --dir without\n"
    "                  QV5files); over JUKEBOX1, --tab TREEMENU the folder tree's\n"
    "                  menu of a song folder, CONFIRM the question of \"Rescan\n"
    "                  all\", TOOLS the tool settings dialog, PROGRESS a progress\n"
    "                  window part way\n"
    "\n"
    "Each library command changes the library completely or not at all (Ctrl-C\n"
    "stops it and leaves the library as it was), and exits with 1 and a message\n"
    "when it could not. While another program (the game) is using the library,\n"
    "it waits up to 30 seconds for it to be free.\n";

namespace {

int Dispatch(const std::vector<std::string>& args, const std::string& start_dir) {
    if (args.empty()) return CommandFailed("no command (see --help)");
    if (auto code = RunInstallCommand(args, start_dir)) return *code;
    std::vector<std::string> import_args = args;
    if (args.size() == 2 && args[0] == "import-courses")
        import_args[1] = FromStartDir(args[1], start_dir);
    if (auto code = RunImportCommand(import_args)) return *code;
    if (auto code = RunRootCommand(args, start_dir)) return *code;
    if (auto code = RunLibraryCommand(args, start_dir)) return *code;
    const std::string& command = args[0];
    ConfigRecord config;
    const ConfigState state = LoadConfig(config);
    if (state == ConfigState::Unreadable) CommandFailed(UnreadableConfigMessage());
    if (auto code = RunBrowserCommand(args, start_dir, config)) return *code;
    if ((command == "play" || command == "autoplay") && args.size() == 2)
        return RunPlayCommand(command, FromStartDir(args[1], start_dir));
    if (command == "convert" && args.size() == 3)
        return RunConvertCommand(ToolSettingsFrom(config), args[1], args[2], start_dir);
    std::fputs(kUsage, stderr);
    return 2;
}

}  // namespace

int RunCommandLine(const std::vector<std::string>& args, const std::string& start_dir) {
    return FinishCommand(Dispatch(args, start_dir));
}

}  // namespace qv5
