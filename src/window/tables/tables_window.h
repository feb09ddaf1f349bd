// The tables window: the kept difficulty tables, each level with how much of
// it the player holds and the clear lamps over it, a level's entries (held
// ones to play, missing ones with their download pages), and what the last
// update changed. Adding, updating and removing a table runs the same jobs
// as the table commands (tables/table_jobs.h) on the window's library.
// Non-modal; closing it changes nothing.
#pragma once

#include <QWidget>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "library/library_hashes.h"
#include "tables/table_match.h"
#include "tables/table_store.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;
class QTreeWidget;
class QTreeWidgetItem;
class QAction;

namespace qv5 {

class Progress;
class SongLibrary;

// What the main window does for the tables window; an empty hook does nothing.
struct TablesHooks {
    std::function<void(const std::string& chart_path)> play;
    // Switches to JUKEBOX1 and selects the chart's item.
    std::function<void(const std::string& chart_path)> show_in_tree;
    // After a job changed the kept tables, song.db or config.xml's song
    // folders (the level folders' one registered with the first table).
    std::function<void()> tables_changed;
};

using TablesProgressFactory =
    std::function<std::unique_ptr<Progress>(QWidget* owner, const std::string& title)>;

// The entry filter's choices, in the order of its box.
enum class EntryFilter { All, Missing, NotCleared };

class TablesWindow : public QWidget {
    Q_OBJECT
  public:
    // The tables against `library`, which outlives the window.
    explicit TablesWindow(SongLibrary& library, QWidget* parent = nullptr);
    ~TablesWindow() override;

    TablesHooks hooks;
    // The progress window of the fetches and the library's refresh.
    TablesProgressFactory progress_factory;

    // Reads the kept tables and the library's charts and scores again,
    // keeping the table and level shown.
    void Reload();
    // Shows the `index`th kept table's levels (its first level's entries).
    void SelectTable(int index);
    void SelectLevel(int row);
    void SetEntryFilter(EntryFilter filter, const QString& words = {});

    // Asks for an address or a file and adds the table from it.
    void AskToAddTable();
    // Fetches `source` (an http or https address, or a file) and keeps it as
    // a new table. True when it was kept and its level folder placed.
    bool AddTable(const std::string& source);
    // Fetches the shown table again, or every table; then says what changed.
    bool UpdateTables(bool all);
    // Asks, then removes the shown table with its level folder.
    bool RemoveShownTable();

    // The entry commands on a shown entry row.
    void PlayEntry(int row);
    void ShowEntryInTree(int row);
    void OpenEntryPage(int row, bool additional_chart);

    const KeptTables& Tables() const { return kept_; }
    int ShownTable() const { return table_; }
    QComboBox* TableBox() const { return table_box_; }
    QTreeWidget* Levels() const { return levels_; }
    QTreeWidget* Entries() const { return entries_; }
    QPlainTextEdit* Changes() const { return changes_; }
    QTabWidget* Pages() const { return pages_; }
    // The lamp counts of the shown table's levels, in level order.
    const std::vector<LampCounts>& LevelLamps() const { return lamps_; }

  protected:
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void Recaption();
    void ReadLibrary();
    void ShowLevels();
    void ShowEntries();
    void ShowChanges();
    void ShowSummary();
    void ShowEntryMenu(const QPoint& at);
    const TableEntry* EntryOf(int row) const;
    std::string HeldPathOf(int row) const;
    std::string SongFolderOf(const TableEntry& entry);
    std::unique_ptr<Progress> OpenProgress(const std::string& title) const;
    void AfterJob(const std::string& select_folder);
    void SaveSettings() const;

    SongLibrary& library_;
    KeptTables kept_;
    ChartHashes charts_;
    SongFoldersByTitle song_folders_;  // read on first need
    std::string library_problem_;  // CP932; why nothing is held, when so
    std::string table_problem_;    // CP932; why the shown table has no entries, when so
    int table_ = -1, level_ = -1;
    std::vector<LevelGroup> groups_;
    std::vector<LampCounts> lamps_;
    std::vector<const TableEntry*> shown_;  // the entry rows
    EntryFilter filter_ = EntryFilter::All;

    QComboBox* table_box_;
    QLabel* summary_;
    QPushButton* add_;
    QPushButton* update_;
    QPushButton* update_all_;
    QPushButton* remove_;
    QTreeWidget* levels_;
    QLabel* legend_;
    QTabWidget* pages_;
    QComboBox* filter_box_;
    QLineEdit* words_;
    QTreeWidget* entries_;
    QPlainTextEdit* changes_;
    QLabel* filter_label_;
    std::vector<QAction*> actions_;
};

}  // namespace qv5
