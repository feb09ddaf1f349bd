#include "window/tables/lamp_bar.h"

#include <QCoreApplication>
#include <QPainter>

#include "library/song_list.h"

namespace qv5 {

QColor LampColour(EntryLamp lamp) {
    // From "nothing yet" in pale greys to the full combo; neighbours differ
    // in hue and brightness, so a bar reads in grey print too.
    static const std::array<QColor, kEntryLamps> colours = {
        QColor(0xdd, 0xdd, 0xdd),  // not held
        QColor(0x8c, 0x8c, 0x8c),  // not played
        QColor(0x7a, 0x1f, 0x1f),  // failed
        QColor(0x4c, 0xb0, 0x4c),  // easy
        QColor(0x36, 0x78, 0xd8),  // clear
        QColor(0xe6, 0x3c, 0x3c),  // hard
        QColor(0xf0, 0xc0, 0x20),  // full combo
    };
    return colours[size_t(lamp)];
}

QString LampName(EntryLamp lamp) {
    switch (lamp) {
        case EntryLamp::NotHeld:
            return QCoreApplication::translate("TablesWindow", "未所持");
        case EntryLamp::NotPlayed:
            return QCoreApplication::translate("TablesWindow", "未プレイ");
        default:
            return QString::fromLatin1(ClearLampName(int(lamp) - int(EntryLamp::NotPlayed)));
    }
}

QVariant LampCountsValue(const LampCounts& counts) {
    QVariantList list;
    for (long c : counts.count) list << qlonglong(c);
    return list;
}

QString LampCountsTip(const LampCounts& counts) {
    QStringList lines;
    for (int i = kEntryLamps - 1; i >= 0; --i)
        if (counts.count[i] > 0)
            lines << LampName(EntryLamp(i)) + QStringLiteral(" ") +
                         QString::number(counts.count[i]);
    return lines.join(QLatin1Char('\n'));
}

void LampBarDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                            const QModelIndex& index) const {
    QStyledItemDelegate::paint(painter, option, QModelIndex());  // the selection's background
    const QVariantList counts = index.data(kLampCountsRole).toList();
    qlonglong total = 0;
    for (const QVariant& c : counts) total += c.toLongLong();
    if (counts.size() != kEntryLamps || total <= 0) return;
    const QRect bar = option.rect.adjusted(2, 3, -2, -3);
    painter->save();
    // The best lamps on the left, as players read their progress; each run
    // ends where the running sum ends, so rounding never leaves a gap.
    qlonglong sum = 0;
    int left = bar.left();
    for (int i = kEntryLamps - 1; i >= 0; --i) {
        sum += counts[i].toLongLong();
        const int right = bar.left() + int(bar.width() * sum / total);
        if (right > left)
            painter->fillRect(QRect(left, bar.top(), right - left, bar.height()),
                              LampColour(EntryLamp(i)));
        left = right;
    }
    painter->setPen(option.palette.color(QPalette::Mid));
    painter->drawRect(bar.adjusted(0, 0, -1, -1));
    painter->restore();
}

QSize LampBarDelegate::sizeHint(const QStyleOptionViewItem& option,
                                const QModelIndex& index) const {
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    size.setWidth(std::max(size.width(), 240));
    size.setHeight(std::max(size.height(), option.fontMetrics.height() + 10));
    return size;
}

}  // namespace qv5
