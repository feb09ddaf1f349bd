// The Library menu's difficulty tables, and what the tables window's
// commands do in this window.
#include "config/config_record.h"
#include "library/song_library.h"
#include "window/main/main_window.h"
#include "window/pages/jukebox_page.h"
#include "window/song_list/song_list_window.h"
#include "window/tables/tables_window.h"
#include "window/tree/folder_tree.h"
#include "window/tree/tree_reveal.h"

namespace qv5 {

TablesWindow* MainWindow::OpenTables() {
    if (tables_) {
        tables_->Reload();  // a new score, another player, a command's change
    } else {
        tables_ = new TablesWindow(song_library_, this);
        TablesHooks& h = tables_->hooks;
        h.play = [this](const std::string& path) {
            jukebox_->Tree()->hooks.chart_command(kCmdPlayChart, path);
        };
        h.show_in_tree = [this](const std::string& path) {
            tabs_->setCurrentIndex(1);
            RevealInTree(*jukebox_->Tree(), WinPath(path));
            raise();
            activateWindow();
        };
        // The first table registers the level folders' song folder in
        // config.xml: JUKEBOX1 and its tree take it in, as after a command.
        h.tables_changed = [this] {
            jukebox_->FollowLibrary(TheConfig());
            if (song_list_) {
                song_list_->ReloadTables();
                song_list_->FollowLibrary(true);
            }
        };
        FolderTree* tree = jukebox_->Tree();
        tables_->progress_factory = [tree](QWidget* owner, const std::string& title) {
            return tree->progress_factory ? tree->progress_factory(owner, title) : nullptr;
        };
    }
    tables_->show();
    tables_->raise();
    tables_->activateWindow();
    return tables_;
}

}  // namespace qv5
