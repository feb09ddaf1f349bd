// The game body's starts. Every one writes the settings first (ApplySettings)
// and passes only a mode switch and paths; the game reads config.xml itself.
#include "browser/game_body.h"
#include "config/config_file.h"
#include "library/chart_header.h"
#include "library/difficulty.h"
#include "library/song_library.h"
#include "platform/process.h"
#include "platform/text.h"
#include "platform/tr.h"
#include "platform/ui_service.h"
#include "window/dialogs/play_option_dialog.h"
#include "window/main/main_window.h"
#include "window/pages/jukebox_page.h"
#include "window/tree/folder_tree_ids.h"

namespace qv5 {
namespace {

struct ExportKind {
    int id;
    const char* option;
    const char* ext;     // without the dot
    bool keep_subtitle;  // movies keep a subtitle that names a difficulty
    const char* description;
};

constexpr ExportKind kExports[] = {
    {kCmdBgmWav, "-audio", "wav", false,
     QT_TRANSLATE_NOOP("Launcher", "サウンド ファイル (*.wav)")},
    {kCmdBgmMp3, "-audio", "mp3", false,
     QT_TRANSLATE_NOOP("Launcher", "サウンド ファイル (*.mp3)")},
    {kCmdMovieAutoplay, "-auto2avi", "avi", true,
     QT_TRANSLATE_NOOP("Launcher", "動画ファイル (*.avi)")},
    {kCmdMovieBgaOnly, "-bga2avi", "avi", true,
     QT_TRANSLATE_NOOP("Launcher", "動画ファイル (*.avi)")},
    {kCmdMovieReplay, "-replay2avi", "avi", true,
     QT_TRANSLATE_NOOP("Launcher", "動画ファイル (*.avi)")},
};

const ExportKind* FindExport(int id) {
    for (const ExportKind& k : kExports)
        if (k.id == id) return &k;
    return nullptr;
}

// One filter entry: the description and its pattern.
std::string SaveFilter(const char* description, const char* ext) {
    return Tr("Launcher", description) + "|*." + ext + "||";
}

// Asks for the output file; nullopt when cancelled. No owner window, as the
// save dialogs of the exports always had.
std::optional<std::string> AskOutput(const std::string& default_name, const char* ext,
                                     const char* description) {
    auto chosen = Ui().SaveFile(nullptr, default_name, ext, SaveFilter(description, ext));
    if (!chosen) return std::nullopt;
    return WithExportExtension(*chosen, std::string(".") + ext);
}

// False, after saying so, when a path cannot reach the game body whole:
// nothing is then started (or saved for it).
bool Carried(MainWindow& dlg, const std::string& path) {
    if (CommandLineCarries(path)) return true;
    ShowMessage(&dlg, UncarriablePathMessage(path), Tr("Launcher", "エラー"), MsgIcon::Error);
    return false;
}

// Starts the game body; when nothing could start (no QV5body.exe, no wine)
// says what is missing, since a silent button leaves the user guessing.
bool StartGameBody(MainWindow& dlg, const std::string& command_line, Wait wait) {
    ProcessResult r = Processes().Run(command_line, wait);
    if (!r.started) ShowMessage(&dlg, r.error, kAppTitle, MsgIcon::Error);
    return r.started;
}

}  // namespace

void MainWindow::OnPlay() {
    MainWindow& dlg = *this;
    if (!dlg.ApplySettings()) return;
    // The window stays when nothing started, so the user can set things right.
    if (!StartGameBody(dlg, PlayCommandLine(), Wait::No)) return;
    dlg.OnCancel();  // the settings are written; close as Cancel does
}

void MainWindow::OnPlayOptions() {
    MainWindow& dlg = *this;
    ConfigRecord& config = TheConfig();
    PlayOptionDialog options(&dlg);
    options.gauge = config.gauge;
    options.random = config.random;
    options.hstype = config.hstype;
    options.hs = std::to_string(config.hs);
    options.ShowValues();
    Ui().RunDialog(options);
    // After Cancel these are still the values copied in above.
    config.gauge = options.gauge;
    config.hstype = options.hstype;
    config.random = options.random;
    config.hs = LeadingNumber(options.hs.c_str());
    dlg.ApplySettings();
}

void MainWindow::OnMakeMovie() {
    MainWindow& dlg = *this;
    dlg.ApplySettings();
    auto output =
        AskOutput("movie.avi", "avi", QT_TRANSLATE_NOOP("Launcher", "動画ファイル (*.avi)"));
    if (!output || !Carried(dlg, *output)) return;
    StartGameBody(dlg, MovieCommandLine(*output), Wait::Yes);
}

void MainWindow::PlayChart(const std::string& chart_path) {
    if (!Carried(*this, chart_path) || !ApplySettings()) return;
    // Waited for: the game may change config.xml, which is read back below.
    if (!StartGameBody(*this, PlayChartCommandLine(WinPath(chart_path)), Wait::Yes)) return;
    UpdateSongInformation(chart_path);
    LoadConfig(TheConfig());
}

void MainWindow::AutoplayChart(const std::string& chart_path) {
    if (!Carried(*this, chart_path) || !ApplySettings()) return;
    StartGameBody(*this, AutoplayCommandLine(WinPath(chart_path)), Wait::No);
}

void MainWindow::PlayDroppedChart(const std::string& chart_path) {
    if (!Carried(*this, chart_path)) return;
    StartGameBody(*this, PlayChartCommandLine(WinPath(chart_path)), Wait::No);
}

void MainWindow::ExportChart(int command_id, const std::string& chart_path) {
    const ExportKind* kind = FindExport(command_id);
    if (!kind || !Carried(*this, chart_path)) return;
    ApplySettings();  // exports go on whatever it says
    // The tool settings as the page holds them: what the export goes on
    // with, whether or not ApplySettings could store them.
    if (command_id == kCmdBgmMp3 && !EntryExists(jukebox_->tools.mp3enc_body)) {
        ShowMessage(this, Tr("Launcher",
                             "mp3エンコーダーが設定されていません。\n"
                             "詳細設定ボタンから設定して下さい。"));
        return;
    }
    ChartRecord chart;
    if (!ReadChartHeader(chart, chart_path)) return;
    std::string title = MakeExportTitle(chart.title, chart.subtitle, chart.artist, chart.subartist,
                                        kind->keep_subtitle);
    auto output = AskOutput(title + "." + kind->ext, kind->ext, kind->description);
    if (!output || !Carried(*this, *output)) return;
    StartGameBody(*this, ExportCommandLine(kind->option, WinPath(chart_path), *output), Wait::Yes);
}

bool MainWindow::RunChartCommand(int command_id, const std::string& chart_path) {
    if (command_id == kCmdPlayChart)
        PlayChart(chart_path);
    else if (command_id == kCmdAutoplayChart)
        AutoplayChart(chart_path);
    else if (FindExport(command_id))
        ExportChart(command_id, chart_path);
    else
        return false;
    return true;
}

}  // namespace qv5
