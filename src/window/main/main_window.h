// The main window: tab strip, six pages, the button row and the language menu.
#pragma once

#include <QDialog>
#include <QList>
#include <QUrl>
#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "library/song_library.h"

class QTabBar;
class QStackedWidget;
class QPushButton;
class QMenu;
class QMenuBar;
class QAction;
class QMenuBar;

namespace qv5 {

struct ConfigRecord;
class Page;
class LibraryWatch;
class MainPage;
class JukeboxPage;
class SongListWindow;
class LibraryCheckWindow;
class TablesWindow;
class SongFolderIndex;
class DropTarget;
struct DropState;
struct DropItem;

class MainWindow : public QDialog {
    Q_OBJECT
  public:
    explicit MainWindow(QWidget* parent = nullptr);
    ~MainWindow() override;

    // The start-up sequence; the first-run loop included. False when the
    // person left the first-run loop: the program ends, writing nothing.
    bool InitDialog();
    // 1 when the pages were stored and config.xml written, 0 when a check
    // failed or the file could not be written (each said so).
    int ApplySettings();
    void OnTabChange();
    void OnCancel();
    void OnExit();
    void OnLanguage(int language);
    // The Library and Help menus' captions in the language in use (the
    // Language menu keeps its own).
    void SetMenuCaptions();
    // Escape and the hidden Cancel command.
    void reject() override;

    // The game body's chart commands on a chart path (internal, as the folder
    // tree builds it). Play waits for the game and reads config.xml again.
    void PlayChart(const std::string& chart_path);
    void AutoplayChart(const std::string& chart_path);
    // kCmdBgmWav, kCmdBgmMp3 and the three movie commands.
    void ExportChart(int command_id, const std::string& chart_path);
    // Any of the seven chart commands by id; false for other ids.
    bool RunChartCommand(int command_id, const std::string& chart_path);
    // A dropped chart that could not be installed: started, not waited for,
    // without applying the settings first.
    void PlayDroppedChart(const std::string& chart_path);
    // Shows the chart's information again after it was played.
    void UpdateSongInformation(const std::string& chart_path);

    // The button row: play (the window closes once the game started), the
    // play options dialog, and a movie of the game's demo.
    void OnPlay();
    void OnPlayOptions();
    void OnMakeMovie();
    // The Library menu's check: runs it and shows its report (one at a
    // time); null when the library could not be read (said so).
    LibraryCheckWindow* OpenLibraryCheck();
    // 1 is English; any other value Japanese: every caption and menu.
    void ApplyLanguage(int language);
    // The song library, open from the start-up on for the signed-in player.
    SongLibrary& Library() { return song_library_; }

    // Files dropped on the window, as the desktop hands them over.
    void OnDropFiles(const QList<QUrl>& urls);
    // Handles every path of one drop in order (internal paths, as dropped),
    // through `target` (the JUKEBOX1 tree, or the window's own target).
    void HandleDrop(DropTarget& target, const std::vector<std::string>& paths);
    // The window's own target: the JUKEBOX1 tab test, and nothing of a tree.
    std::unique_ptr<DropTarget> MakeDropTarget();

    MainPage* MainTab() const { return main_; }
    JukeboxPage* JukeboxTab() const { return jukebox_; }
    QTabBar* Tabs() const { return tabs_; }
    // Page of a tab index, in strip order.
    Page* PageAt(int index) const { return pages_[static_cast<size_t>(index)]; }
    // The Library menu (made on first use) and its song list window, which
    // the menu command opens (made on first use, then shown again).
    QMenu* LibraryMenu();
    SongListWindow* OpenSongList();
    // The Library menu's difficulty tables (made on first use, then read
    // again and shown).
    TablesWindow* OpenTables();

  protected:
    // Activation brings the tree in step with a library changed meanwhile.
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    // Return and Enter do nothing: the default button is hidden and disabled.
    void keyPressEvent(QKeyEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    SongLibrary song_library_;
    // Player checks of ApplySettings (ID, password, verification); true to go on.
    bool CheckPlayer();
    // Shows the welcome message and the new-player dialog until a player
    // exists; false when the person closed the dialog twice in a row to leave.
    bool RunFirstRunLoop();
    // The branches of HandleDrop; false ends the whole drop.
    bool DropWallpaper(const std::string& path);
    void DropChart(DropTarget& target, const std::string& path);
    // Offers to copy the chart into the song folder whose sounds it uses;
    // false when none is certain or the offer was declined.
    bool DropChartIntoItsSongFolder(const std::string& path);
    // The song folders' file index, walked on first use; null when the
    // walk was stopped.
    SongFolderIndex* PlacementIndex();
    // An archive of additional charts: one question listing where each of
    // its charts goes, then one install of them all. False when the archive
    // is not such an archive (it is then installed as any other).
    bool DropAdditionalArchive(DropTarget& target, DropState& state, const std::string& path,
                               const DropItem& dest);
    bool DropArchive(DropTarget& target, DropState& state, const std::string& path);

    enum class Applied { Saved, CheckFailed, SaveFailed };
    // ApplySettings; `exiting` adds how to retry or leave to a save failure.
    Applied Apply(bool exiting);
    void Close();
    std::function<void(const ConfigRecord*, ConfigRecord&)> TakeInOthersRoots(
        std::vector<std::string> ours) const;
    void ConnectTreeCommands();
    void AddSongListCommand();

    QTabBar* tabs_;
    QStackedWidget* stack_;
    MainPage* main_;
    JukeboxPage* jukebox_;
    // In strip order.
    std::array<Page*, 6> pages_{};
    // The pages after MAIN (JUKEBOX1, JUKEBOX2, OPTION, SYSTEM, SELECT), in
    // the order they are loaded and stored.
    std::array<Page*, 5> settings_pages_{};
    LibraryWatch* watch_;
    QMenuBar* menu_bar_;
    QMenu* library_ = nullptr;
    QAction* check_;
    QMenu* help_;
    QAction* song_list_action_ = nullptr;
    SongListWindow* song_list_ = nullptr;
    QAction* tables_action_ = nullptr;
    TablesWindow* tables_ = nullptr;
    // The song folders' file names, walked on the first chart dropped.
    std::unique_ptr<SongFolderIndex> placement_index_;
    QAction* about_;
    QPushButton* play_;
    QPushButton* exit_;
    bool closing_ = false;
};

}  // namespace qv5
