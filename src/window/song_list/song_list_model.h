// The song list's table model: the library's rows, loaded once, filtered and
// sorted in memory (the rules of library/song_list).
#pragma once

#include <QAbstractTableModel>
#include <cstdint>
#include <vector>

#include "library/song_list.h"
#include "platform/win_path.h"
#include "window/song_list/song_list_levels.h"

namespace qv5 {

class SongLibrary;

// The window's own column after the library's: the chart's table levels.
inline constexpr int kTablesColumn = kSongColumns;

class SongListModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    explicit SongListModel(QObject* parent = nullptr);

    // Reads the library again and lays the tables over it, keeping sort and
    // filter. False when it could not be read (the list is then empty).
    bool Reload(SongLibrary& library);
    // Lays tables read by ReadLevelTables over the rows held. The filter by
    // table is cleared: the tables' indexes are new.
    void SetTables(LevelTables tables, SongLibrary& library);
    void SetFilter(const SongFilter& filter, const LevelFilter& levels);
    const SongFilter& Filter() const { return filter_; }
    // The library's column sorted by, unless SortedByTables().
    SongColumn SortColumn() const { return column_; }
    bool SortedByTables() const { return by_tables_; }
    bool Descending() const { return descending_; }
    const ChartLevels& Levels() const { return levels_; }

    const SongTable& Table() const { return table_; }
    // The table row shown at `row`.
    std::uint32_t TableRow(int row) const { return visible_[static_cast<size_t>(row)]; }
    // The shown row of a chart path (CP932), or -1.
    int RowOf(const WinPath& chart_path) const;
    // True when the chart's file is gone (checked when the row is first
    // shown after a load or after RecheckFiles).
    bool Vanished(int row) const;
    // Forgets what Vanished found: the rows shown next are looked at again,
    // the others only when they are shown.
    void RecheckFiles();
    // Bytes held for the list.
    size_t MemoryBytes() const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    void sort(int column, Qt::SortOrder order) override;

  private:
    void Resort();
    void Refilter();

    SongTable table_;
    ChartLevels levels_;
    SongFilter filter_;
    LevelFilter level_filter_;
    // The newest charts first until another column is chosen.
    SongColumn column_ = SongColumn::Added;
    bool descending_ = true;
    bool by_tables_ = false;
    std::vector<std::uint32_t> order_;    // every row, sorted
    std::vector<std::uint32_t> visible_;  // the rows passing the filter
    // Per table row: 0 not looked at, 1 present, 2 gone.
    mutable std::vector<std::uint8_t> presence_;
};

}  // namespace qv5
