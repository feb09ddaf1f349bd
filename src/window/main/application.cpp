#include "window/main/application.h"

#include <unistd.h>

#include <QApplication>
#include <QMenu>
#include <QPainter>
#include <QPixmap>
#include <QTabBar>
#include <QTreeWidget>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "config/config_record.h"
#include "platform/paths.h"
#include "platform/tr.h"
#include "platform/translation.h"
#include "window/check/library_check_window.h"
#include "window/common/job_summary.h"
#include "window/common/progress_window.h"
#include "window/common/qt_ui_service.h"
#include "window/common/wait_note.h"
#include "window/main/about.h"
#include "window/main/game_folder.h"
#include "window/main/main_window.h"
#include "window/pages/jukebox_page.h"
#include "window/song_list/song_list_window.h"
#include "window/tables/tables_window.h"
#include "window/tree/folder_tree.h"

namespace qv5 {
namespace {

// Qt aborts when it finds no display; say what to do instead.
bool HasDisplay() {
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        const char* value = std::getenv(name);
        if (value && *value) return true;
    }
    return false;
}

// --screenshot: the window as it starts, on the tab named by --tab (chosen as
// a click would choose it, settings applied), the root folders opened.
// --tab TREEMENU: the folder tree's menu of a song folder over the window.
int SaveTreeMenuScreenshot(MainWindow& dlg, const std::string& file) {
    FolderTree* tree = dlg.JukeboxTab()->Tree();
    auto* menu = tree->findChild<QMenu*>(QStringLiteral("menu0"));
    if (!menu || tree->topLevelItemCount() == 0) return 1;
    QTreeWidgetItem* root = tree->topLevelItem(0);
    tree->SetCurrent(root);
    const QRect row = tree->visualItemRect(root);
    menu->popup(tree->viewport()->mapToGlobal(row.center()));
    for (int i = 0; i < 5; ++i) QApplication::processEvents();
    QPixmap picture = dlg.grab();
    {
        QPainter painter(&picture);
        painter.drawPixmap(dlg.mapFromGlobal(menu->pos()), menu->grab());
    }
    menu->hide();
    return picture.save(QString::fromStdString(file), "PNG") ? 0 : 1;
}

// --tab PROGRESS: the progress window of a library update, part way.
int SaveProgressScreenshot(MainWindow& dlg, const std::string& file) {
    ProgressWindow progress(&dlg, Tr("FolderTree", "ライブラリを更新しています"));
    progress.Update(42, 120, "songs\\Demo Song 2\\demo2_1.bms");
    progress.SetUnit(ChartsUnit());  // shows the count at once
    return SaveDialogPicture(*progress.dialog(), file) ? 0 : 1;
}

int SaveScreenshot(MainWindow& dlg, const std::string& file, const std::string& tab) {
    const bool over_jukebox =
        tab == "TREEMENU" || tab == "CONFIRM" || tab == "TOOLS" || tab == "PROGRESS";
    const QString page = QString::fromStdString(over_jukebox ? "JUKEBOX1" : tab);
    for (int i = 0; i < dlg.Tabs()->count(); ++i)
        if (dlg.Tabs()->tabText(i).compare(page, Qt::CaseInsensitive) == 0)
            dlg.Tabs()->setCurrentIndex(i);
    FolderTree* tree = dlg.JukeboxTab()->Tree();
    for (int i = 0; i < tree->topLevelItemCount(); ++i) tree->topLevelItem(i)->setExpanded(true);
    if (tree->topLevelItemCount() > 0 && tree->topLevelItem(0)->childCount() > 0) {
        QTreeWidgetItem* first = tree->topLevelItem(0)->child(0);
        tree->OnDoubleClick(first);
        first->setExpanded(true);
        tree->setCurrentItem(first);
    }
    dlg.show();
    // --tab SONGS: the song list window over the main window.
    QWidget* shown = &dlg;
    if (tab == "SONGS") shown = dlg.OpenSongList();
    // --tab TABLES: the tables window, on its first table's level with the
    // most entries held, over the main window.
    if (tab == "TABLES") {
        TablesWindow* tables = dlg.OpenTables();
        shown = tables;
        int best = -1, held = -1;
        for (int i = 0; i < tables->Levels()->topLevelItemCount(); ++i) {
            const auto& lamps = tables->LevelLamps()[size_t(i)];
            const long here = lamps.Total() - lamps.count[int(EntryLamp::NotHeld)];
            if (here > held) best = i, held = here;
        }
        if (best >= 0) tables->SelectLevel(best);
    }
    for (int i = 0; i < 5; ++i) QApplication::processEvents();
    if (tab == "TREEMENU") return SaveTreeMenuScreenshot(dlg, file);
    if (tab == "PROGRESS") return SaveProgressScreenshot(dlg, file);
    // A confirmation box and the tool settings dialog, as their buttons open them.
    if (tab == "CONFIRM" || tab == "TOOLS") {
        GrabNextDialogTo(file);
        if (tab == "CONFIRM")
            dlg.JukeboxTab()->FullRescan();
        else
            dlg.JukeboxTab()->OpenToolSettings();
        return DialogGrabbed() ? 0 : 1;
    }
    if (!shown->grab().save(QString::fromStdString(file), "PNG")) {
        std::fprintf(stderr, "QV5: cannot write the screenshot %s\n", file.c_str());
        return 1;
    }
    return 0;
}

// --tab CHECK: the library check's report over the window.
int SaveCheckScreenshot(MainWindow& dlg, const std::string& file) {
    dlg.show();
    LibraryCheckWindow* report = dlg.OpenLibraryCheck();
    if (!report) return 1;
    for (int i = 0; i < 5; ++i) QApplication::processEvents();
    if (!report->grab().save(QString::fromStdString(file), "PNG")) {
        std::fprintf(stderr, "QV5: cannot write the screenshot %s\n", file.c_str());
        return 1;
    }
    return 0;
}

}  // namespace

int Application::Run(int argc, char** argv, const WindowStart& start) {
    const std::string& dir = start.dir;
    const bool dir_given = start.dir_given;
    const std::string& start_dir = start.start_dir;
    const std::string& tab = start.tab;
    std::string screenshot = start.screenshot;
    if (!HasDisplay()) {
        std::fprintf(stderr,
                     "QV5: no display to show the window on. Run it under xvfb-run "
                     "(xvfb-run QV5), or give a command (QV5 --help).\n");
        return 1;
    }
    QApplication app(argc, argv);
    SetUi(MakeQtUiService());
    if (!screenshot.empty() && screenshot.front() != '/') screenshot = start_dir + "/" + screenshot;
    // --tab CHOOSER: the picture of the game folder chooser (on a --dir
    // without QV5files); --tab ABOUT: the About box over the window.
    const bool chooser = !screenshot.empty() && tab == "CHOOSER";
    const bool about = !screenshot.empty() && tab == "ABOUT";
    if (chooser) GrabNextDialogTo(screenshot);
    const std::optional<std::string> game = WindowGameFolder(nullptr, dir, dir_given);
    if (chooser) return DialogGrabbed() ? 0 : 1;
    if (!game) return 1;
    if (!SetProgramDirectory(*game)) {
        std::fprintf(stderr, "QV5: cannot use the folder %s\n", game->c_str());
        return 2;
    }
    MainWindow dlg;
    InstallWaitNote(&dlg);
    if (!dlg.InitDialog()) return 0;
    if (about) {
        dlg.show();
        GrabNextDialogTo(screenshot);
        ShowAbout(&dlg);
        return DialogGrabbed() ? 0 : 1;
    }
    if (!screenshot.empty() && tab == "CHECK") return SaveCheckScreenshot(dlg, screenshot);
    if (!screenshot.empty()) return SaveScreenshot(dlg, screenshot, tab);
    dlg.exec();
    return 0;
}

}  // namespace qv5
