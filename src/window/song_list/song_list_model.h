// The song list's table model: the library's rows, loaded once, filtered and
// sorted in memory (the rules of library/song_list).
#pragma once

#include <QAbstractTableModel>
#include <cstdint>
#include <vector>

#include "library/song_list.h"
#include "platform/win_path.h"

namespace qv5 {

class SongLibrary;

class SongListModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    explicit SongListModel(QObject* parent = nullptr);

    // Reads the library again, keeping sort and filter. False when it could
    // not be read (the list is then empty).
    bool Reload(SongLibrary& library);
    void SetFilter(const SongFilter& filter);
    const SongFilter& Filter() const { return filter_; }
    SongColumn SortColumn() const { return column_; }
    bool Descending() const { return descending_; }

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
    void Refilter();

    SongTable table_;
    SongFilter filter_;
    // The newest charts first until another column is chosen.
    SongColumn column_ = SongColumn::Added;
    bool descending_ = true;
    std::vector<std::uint32_t> order_;    // every row, sorted
    std::vector<std::uint32_t> visible_;  // the rows passing the filter
    // Per table row: 0 not looked at, 1 present, 2 gone.
    mutable std::vector<std::uint8_t> presence_;
};

}  // namespace qv5
