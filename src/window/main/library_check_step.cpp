// The Library menu's check, run on the song folders of JUKEBOX1, and what
// its report window's buttons do in this window.
#include <QTabBar>

#include "library/check_text.h"
#include "library/job_text.h"
#include "library/song_library.h"
#include "platform/tr.h"
#include "platform/ui_service.h"
#include "window/check/library_check_window.h"
#include "window/main/main_window.h"
#include "window/pages/jukebox_page.h"
#include "window/tree/folder_tree.h"
#include "window/tree/tree_reveal.h"

namespace qv5 {

LibraryCheckWindow* MainWindow::OpenLibraryCheck() {
    MainWindow& window = *this;
    FolderTree* tree = window.JukeboxTab()->Tree();
    CheckOptions options;
    options.roots = window.JukeboxTab()->RootTexts();
    CheckResult result;
    {
        std::unique_ptr<Progress> progress =
            tree->progress_factory
                ? tree->progress_factory(&window, Tr("LibraryCheck", "ライブラリを検査しています"))
                : nullptr;
        if (progress) progress->SetUnit(ChartsUnit());
        result = CheckLibrary(song_library_, options, progress.get());
    }
    if (!result.error.empty()) {
        ShowMessage(&window,
                    Tr("LibraryCheck", "ライブラリを読めませんでした。") + "\n" + result.error,
                    Tr("LibraryCheck", "エラー"), MsgIcon::Error);
        return nullptr;
    }
    CheckActions actions;
    MainWindow* main = &window;
    actions.show_in_tree = [main](const std::string& path) {
        main->Tabs()->setCurrentIndex(1);  // JUKEBOX1, as a click would choose it
        RevealInTree(*main->JukeboxTab()->Tree(), WinPath(path));
    };
    actions.refresh_folder = [main](const std::string& folder) {
        main->Tabs()->setCurrentIndex(1);
        FolderTree* tree = main->JukeboxTab()->Tree();
        QTreeWidgetItem* item = RevealInTree(*tree, WinPath(folder));
        if (!item) return false;
        tree->SetCurrent(item);
        return tree->Refresh(item);
    };
    for (auto* old : window.findChildren<LibraryCheckWindow*>())
        delete old;  // one report at a time
    auto* report = new LibraryCheckWindow(&window, std::move(result), std::move(actions));
    report->setAttribute(Qt::WA_DeleteOnClose);
    report->show();
    return report;
}

}  // namespace qv5
