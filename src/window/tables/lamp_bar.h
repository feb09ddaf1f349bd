// The clear lamps of a table level as one horizontal bar: a run of each
// lamp's colour, as long as its share of the level's entries. Painted by a
// delegate of the level list rather than drawn as a chart: a table has a
// few dozen levels, each bar is seven rectangles, and the list scrolls and
// sorts like any other.
#pragma once

#include <QColor>
#include <QStyledItemDelegate>
#include <array>

#include "tables/table_match.h"

namespace qv5 {

// The role of the level list's lamp column holding the counts: a QVariantList
// of kEntryLamps numbers, indexed by EntryLamp.
inline constexpr int kLampCountsRole = Qt::UserRole + 1;

QColor LampColour(EntryLamp lamp);
// The lamp's name as the window shows it (translated).
QString LampName(EntryLamp lamp);
// The counts for the delegate, and their tooltip ("FAIL 3" a line, only the
// lamps that occur).
QVariant LampCountsValue(const LampCounts& counts);
QString LampCountsTip(const LampCounts& counts);

class LampBarDelegate final : public QStyledItemDelegate {
  public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};

}  // namespace qv5
