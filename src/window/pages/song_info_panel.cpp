#include "window/pages/song_info_panel.h"

#include <QLabel>
#include <QVBoxLayout>

#include "library/display_text.h"
#include "platform/text.h"
#include "window/common/controls.h"
#include "window/pages/song_info_panel_ids.h"

namespace qv5 {

SongInfoPanel::SongInfoPanel(QWidget* parent) : QWidget(parent) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    for (size_t i = 0; i < labels_.size(); ++i) {
        labels_[i] = new QLabel(this);
        labels_[i]->setTextFormat(Qt::PlainText);
        SetControlId(labels_[i], song_info_id::kFirstLine + static_cast<int>(i));
        layout->addWidget(labels_[i]);
    }
}

void SongInfoPanel::ShowItem(int icon, const std::string& item_path) {
    if (icon == 2)
        Show(item_path);
    else
        Clear();
}

void SongInfoPanel::Show(const std::string& chart_path) {
    Q_ASSERT(library_);
    lines_ = SongInfoLines(*library_, WinPath(chart_path));
    ShowLines();
}

void SongInfoPanel::Clear() {
    lines_ = SongInfo{};
    ShowLines();
}

void SongInfoPanel::ShowLines() {
    // A chart written in UTF-8 shows decoded as such (the line's ASCII head
    // does not change how its texts read).
    for (size_t i = 0; i < labels_.size(); ++i)
        labels_[i]->setText(QString::fromStdString(DisplayText(lines_[i])));
}

}  // namespace qv5
