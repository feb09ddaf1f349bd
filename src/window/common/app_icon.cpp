#include "window/common/app_icon.h"

#include <QFont>
#include <QPainter>
#include <QPixmap>

namespace qv5 {
namespace {

QPixmap Draw(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x20, 0x3a, 0x8c));
    p.drawRoundedRect(QRectF(0, 0, size, size), size / 6.0, size / 6.0);
    // Three falling notes over a judge line: a chart at a glance.
    p.setBrush(QColor(0xff, 0xd0, 0x40));
    const double lane = size / 4.0;
    const double note_h = size / 10.0;
    const double rows[] = {0.20, 0.45, 0.30};
    for (int i = 0; i < 3; ++i)
        p.drawRect(QRectF(lane * (i + 0.5) + lane * 0.1, size * rows[i], lane * 0.8, note_h));
    p.setBrush(QColor(0xff, 0x40, 0x40));
    p.drawRect(QRectF(size * 0.1, size * 0.75, size * 0.8, std::max(1.0, size / 16.0)));
    return pixmap;
}

}  // namespace

QIcon AppIcon() {
    QIcon icon;
    for (int size : {16, 32, 48}) icon.addPixmap(Draw(size));
    return icon;
}

}  // namespace qv5
