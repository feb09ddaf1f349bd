#include "window/song_list/song_list_model.h"

#include <QBrush>
#include <QGuiApplication>
#include <QPalette>
#include <algorithm>

#include "library/song_library.h"

namespace qv5 {

SongListModel::SongListModel(QObject* parent) : QAbstractTableModel(parent) {}

bool SongListModel::Reload(SongLibrary& library) {
    beginResetModel();
    const bool ok = table_.Load(library);
    levels_.Match(library, table_);
    Resort();
    presence_.assign(table_.size(), 0);
    Refilter();
    endResetModel();
    return ok;
}

void SongListModel::SetTables(LevelTables tables, SongLibrary& library) {
    beginResetModel();
    levels_.SetTables(std::move(tables));
    levels_.Match(library, table_);
    level_filter_ = {};
    if (by_tables_) Resort();
    Refilter();
    endResetModel();
}

void SongListModel::SetFilter(const SongFilter& filter, const LevelFilter& levels) {
    filter_ = filter;
    level_filter_ = levels;
    beginResetModel();
    Refilter();
    endResetModel();
}

void SongListModel::Resort() {
    if (!by_tables_) {
        order_ = SortedRows(table_, column_, descending_);
        return;
    }
    // Rows of the same levels by path, as the library's columns break ties.
    order_ = SortedRows(table_, SongColumn::Path, false);
    levels_.Sort(order_, descending_);
}

void SongListModel::Refilter() {
    visible_ = FilterRows(table_, order_, filter_);
    if (level_filter_.table >= 0)
        std::erase_if(visible_, [&](std::uint32_t row) {
            return !levels_.Listed(row, level_filter_.table, level_filter_.level);
        });
}

void SongListModel::sort(int column, Qt::SortOrder order) {
    if (column < 0 || column > kTablesColumn) return;
    emit layoutAboutToBeChanged();
    by_tables_ = column == kTablesColumn;
    if (!by_tables_) column_ = static_cast<SongColumn>(column);
    descending_ = order == Qt::DescendingOrder;
    Resort();
    Refilter();
    emit layoutChanged();
}

int SongListModel::RowOf(const WinPath& chart_path_path) const {
    const std::string& chart_path = chart_path_path.text();
    const std::ptrdiff_t row = table_.Find(WinPath(chart_path));
    if (row < 0) return -1;
    for (size_t i = 0; i < visible_.size(); ++i)
        if (visible_[i] == static_cast<std::uint32_t>(row)) return static_cast<int>(i);
    return -1;
}

bool SongListModel::Vanished(int row) const {
    const std::uint32_t i = TableRow(row);
    // Looked at when first shown: 50,000 look-ups at every load would cost
    // more than the load itself.
    if (presence_[i] == 0) presence_[i] = EntryExists(table_.ChartPath(i)) ? 1 : 2;
    return presence_[i] == 2;
}

void SongListModel::RecheckFiles() {
    std::fill(presence_.begin(), presence_.end(), std::uint8_t{0});
    if (!visible_.empty())
        emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1),
                         {Qt::ForegroundRole});
}

size_t SongListModel::MemoryBytes() const {
    return table_.MemoryBytes() + levels_.MemoryBytes() +
           (order_.capacity() + visible_.capacity()) * sizeof(std::uint32_t) + presence_.capacity();
}

int SongListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(visible_.size());
}

int SongListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kTablesColumn + 1;
}

QVariant SongListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) return {};
    if (index.column() == kTablesColumn) {
        if (role == Qt::DisplayRole)
            return QString::fromStdString(levels_.Text(TableRow(index.row())));
        if (role != Qt::ForegroundRole) return {};
    }
    const auto column = static_cast<SongColumn>(index.column());
    switch (role) {
        case Qt::DisplayRole:
            return QString::fromStdString(table_.Cell(TableRow(index.row()), column));
        case Qt::ForegroundRole:
            if (Vanished(index.row()))
                return QGuiApplication::palette().brush(QPalette::Disabled, QPalette::Text);
            return {};
        case Qt::TextAlignmentRole:
            if (IsNumericColumn(column) && column != SongColumn::Mode &&
                column != SongColumn::Difficulty && column != SongColumn::Lamp &&
                column != SongColumn::Added)
                return QVariant(Qt::AlignRight | Qt::AlignVCenter);
            return {};
        default:
            return {};
    }
}

QVariant SongListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section > kTablesColumn) return {};
    if (section == kTablesColumn) {
        if (role == Qt::InitialSortOrderRole) return Qt::AscendingOrder;
        return role == Qt::DisplayRole ? tr("表") : QVariant();
    }
    const auto column = static_cast<SongColumn>(section);
    if (role == Qt::InitialSortOrderRole)
        return DescendingFirst(column) ? Qt::DescendingOrder : Qt::AscendingOrder;
    if (role != Qt::DisplayRole) return {};
    switch (column) {
        case SongColumn::Title:
            return tr("タイトル");
        case SongColumn::Artist:
            return tr("アーティスト");
        case SongColumn::Genre:
            return tr("ジャンル");
        case SongColumn::Level:
            return tr("☆");
        case SongColumn::ExLevel:
            return tr("★");
        case SongColumn::Difficulty:
            return tr("難易度");
        case SongColumn::Mode:
            return tr("モード");
        case SongColumn::Bpm:
            return tr("BPM");
        case SongColumn::Notes:
            return tr("ノーツ");
        case SongColumn::Added:
            return tr("追加日時");
        case SongColumn::Path:
            return tr("パス");
        case SongColumn::Lamp:
            return tr("ランプ");
        case SongColumn::Rate:
            return tr("スコア");
        case SongColumn::Count:
            break;
    }
    return {};
}

}  // namespace qv5
