// The information panel below the folder tree: six one-line texts,
// static texts song_info_id::kFirstLine to kLastLine.
#pragma once

#include <QWidget>
#include <array>
#include <string>

#include "browser/song_info.h"

class QLabel;

namespace qv5 {

class SongLibrary;

class SongInfoPanel : public QWidget {
    Q_OBJECT
  public:
    explicit SongInfoPanel(QWidget* parent = nullptr);

    // The library the lines are read from; set before Show.
    void SetLibrary(SongLibrary* library) { library_ = library; }

    // The tree's selection changed: the lines of a chart item (icon 2), read
    // afresh from its path; every other item (folders, text files, hidden
    // chart candidates) or none empties them.
    void ShowItem(int icon, const std::string& item_path);
    // A chart was played or edited: its lines, read afresh.
    void Show(const std::string& chart_path);
    // Any other item, or none: all six lines empty.
    void Clear();
    const SongInfo& lines() const { return lines_; }

  private:
    void ShowLines();

    SongInfo lines_;
    std::array<QLabel*, 6> labels_{};
    SongLibrary* library_ = nullptr;
};

}  // namespace qv5
