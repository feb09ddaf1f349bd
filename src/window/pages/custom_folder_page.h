// The JUKEBOX2 page: the special folders of the song select, its maximum
// number of search results and how long new songs flash their title.
#pragma once

#include <array>

#include "window/pages/page.h"

namespace qv5 {

class CustomFolderPage : public Page {
    Q_OBJECT
  public:
    explicit CustomFolderPage(QWidget* parent = nullptr);
    // Bits above 7 of customfolder are not shown and are dropped on reading.
    void ReadControls() override;
};

}  // namespace qv5
