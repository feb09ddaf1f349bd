#include "window/tree/tree_icons.h"

#include <QPainter>
#include <QPainterPath>
#include <array>

namespace qv5 {
namespace {

void DrawFolder(QPainter& p, QColor fill, bool open) {
    p.setPen(fill.darker(170));
    p.setBrush(fill.darker(115));
    p.drawRect(1, 3, 6, 2);  // tab
    p.drawRect(1, 4, 13, 9);
    if (open) {
        p.setBrush(fill);
        QPolygon front;
        front << QPoint(3, 7) << QPoint(15, 7) << QPoint(13, 13) << QPoint(1, 13);
        p.drawPolygon(front);
    }
}

QPixmap Draw(int index) {
    QPixmap pix(16, 16);
    pix.fill(Qt::transparent);
    QPainter p(&pix);
    p.setRenderHint(QPainter::Antialiasing, index == kIconChart || index == kIconHidden);
    const QColor yellow(240, 200, 60), red(220, 60, 50);
    switch (index) {
        case kIconFolder:
            DrawFolder(p, yellow, false);
            break;
        case kIconFolderOpen:
            DrawFolder(p, yellow, true);
            break;
        case kIconNewFolder:
            DrawFolder(p, red, false);
            break;
        case kIconNewFolderOpen:
            DrawFolder(p, red, true);
            break;
        case kIconChart:
            p.setPen(Qt::black);
            p.setBrush(QColor(20, 20, 20));
            p.drawEllipse(QRectF(1.5, 1.5, 13, 13));
            p.setBrush(Qt::white);
            p.drawEllipse(QRectF(6, 6, 4, 4));
            break;
        case kIconDocument: {
            p.setPen(QColor(90, 90, 90));
            p.setBrush(Qt::white);
            QPolygon page;
            page << QPoint(3, 1) << QPoint(10, 1) << QPoint(13, 4) << QPoint(13, 14)
                 << QPoint(3, 14);
            p.drawPolygon(page);
            p.drawLine(10, 1, 10, 4);
            p.drawLine(10, 4, 13, 4);
            break;
        }
        case kIconHidden: {
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(40, 90, 220));
            p.drawEllipse(QRectF(1, 1, 14, 14));
            QFont font;
            font.setPixelSize(12);
            font.setBold(true);
            p.setFont(font);
            p.setPen(Qt::white);
            p.drawText(QRect(0, 0, 16, 16), Qt::AlignCenter, QStringLiteral("?"));
            break;
        }
        default:
            break;
    }
    return pix;
}

}  // namespace

QPixmap TreeIconPixmap(int index) {
    static const std::array<QPixmap, kTreeIconCount> pixmaps = [] {
        std::array<QPixmap, kTreeIconCount> all;
        for (int i = 0; i < kTreeIconCount; ++i) all[size_t(i)] = Draw(i);
        return all;
    }();
    if (index < 0 || index >= kTreeIconCount) return QPixmap();
    return pixmaps[size_t(index)];
}

QIcon TreeIconPair(int normal, int selected) {
    // Shared: thousands of items hold a copy of the same few icons.
    static std::array<QIcon, kTreeIconCount * kTreeIconCount> pairs;
    if (normal < 0 || normal >= kTreeIconCount || selected < 0 || selected >= kTreeIconCount)
        return QIcon();
    QIcon& icon = pairs[size_t(normal * kTreeIconCount + selected)];
    if (icon.isNull()) {
        icon.addPixmap(TreeIconPixmap(normal), QIcon::Normal);
        icon.addPixmap(TreeIconPixmap(selected), QIcon::Selected);
    }
    return icon;
}

}  // namespace qv5
