// The song list window: every chart of the library in one table, with a
// filter box, filters, sorting on every column and the chart commands.
// Non-modal; closing it changes nothing.
#pragma once

#include <QFileSystemWatcher>
#include <QTimer>
#include <QWidget>
#include <array>
#include <cstdint>
#include <functional>
#include <future>
#include <string>

#include "library/song_list.h"
#include "window/song_list/song_list_levels.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QSpinBox;
class QTableView;
class QAction;

namespace qv5 {

class SongListModel;
class SongLibrary;

// What the main window does for the list; an empty hook does nothing.
struct SongListHooks {
    // The folder tree's play and autoplay commands on a chart path.
    std::function<void(const std::string&chart_path)> play, autoplay;
    // The tag editor; true when saved.
    std::function<bool(const std::string& chart_path)> edit_tags;
    // Switches to JUKEBOX1 and selects the chart's item.
    std::function<void(const std::string& chart_path)> show_in_tree;
};

class SongListWindow : public QWidget {
    Q_OBJECT
  public:
    // The list of `library`, which outlives the window.
    explicit SongListWindow(SongLibrary& library, QWidget* parent = nullptr);
    ~SongListWindow() override;

    SongListHooks hooks;

    // Reads the library again when song.db, tag.db or the player's scores
    // changed since the list was read (or always with `force`); else looks
    // again whether the charts' files are there, as their rows are shown.
    void FollowLibrary(bool force = false);
    // Reads the kept tables again (after a table was added, updated or
    // removed); FollowLibrary does it too when their files changed. They are
    // read on a thread of their own, as tables of thousands of entries take
    // longer to read than the list's rows: the list opens without waiting,
    // and its Tables column and filter follow once they are read. The read
    // starts after the events in hand (the first paint of the rows among
    // them), so that it does not take a core from it on a busy machine.
    void ReloadTables();
    bool ReadingTables() const { return read_pending_ || tables_read_.valid(); }
    // The filter as the controls set it.
    SongFilter CurrentFilter() const;
    LevelFilter CurrentLevelFilter() const;
    void SetFilterControls(const SongFilter& filter);

    SongListModel* Model() const { return model_; }
    QTableView* View() const { return view_; }
    QLineEdit* FilterEdit() const { return filter_edit_; }
    // The filter by table: "any" first, then the kept tables; and the
    // chosen table's levels, "any" first.
    QComboBox* TableBox() const { return table_; }
    QComboBox* TableLevelBox() const { return table_level_; }
    QString CountText() const;
    // The chart commands on a shown row.
    void Play(int row);
    void Autoplay(int row);
    void EditTags(int row);
    void OpenFolder(int row);
    void ShowInTree(int row);

  protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void Recaption();
    void ApplyFilter();
    // The table boxes for the tables read, showing the table and level
    // chosen last when they are there.
    void FillTableBoxes();
    void FillTableLevelBox();
    void WatchTables();
    // On the window's thread, when the reading thread is done.
    void StartReadingTables();
    void TakeTables();
    void ShowCount();
    void ShowMenu(const QPoint& at);
    void SaveSettings() const;
    void LoadSettings();
    std::string PathOf(int row) const;

    SongListModel* model_;
    QTableView* view_;
    QLineEdit* filter_edit_;
    QComboBox* mode_;
    QSpinBox* level_min_;
    QSpinBox* level_max_;
    QComboBox* difficulty_;
    QComboBox* table_;
    QComboBox* table_level_;
    QCheckBox* favorites_;
    QCheckBox* not_played_;
    QCheckBox* not_cleared_;
    QCheckBox* new_;
    QLabel* count_;
    std::array<QLabel*, 5> labels_{};
    std::array<QAction*, 5> actions_{};
    QFileSystemWatcher watcher_;
    QTimer settle_;
    // Modification times and sizes of song.db, tag.db and the player's file
    // when the list was read.
    std::array<std::int64_t, 6> stamp_{};
    std::string tables_stamp_;  // KeptTablesStamp() when the tables were read
    std::future<LevelTables> tables_read_;
    bool read_pending_ = false;  // a read is to start
    bool read_again_ = false;    // the tables changed while they were read
    // The table's name and level (UTF-8) chosen last, kept while a table
    // is away: an update replaces its folder.
    QString table_choice_, level_choice_;
    bool loaded_ = false;
    SongLibrary& library_;
};

}  // namespace qv5
