// The JUKEBOX2 page: the special folders of the song select, its maximum
// number of search results and how long new songs flash their title.
#pragma once

#include <array>

#include "window/page.h"

namespace qv5 {

class CustomFolderPage : public Page {
    Q_OBJECT
  public:
    struct Values {
        // One per bit of customfolder, bit 0 first.
        std::array<std::int32_t, 8> folders{};
        std::int32_t randomclose = 0, searchmax = 1000, titleflash = 24;
    };

    explicit CustomFolderPage(QWidget* parent = nullptr);
    // Bits above 7 of customfolder are not shown and are dropped on store.
    void LoadFrom(const ConfigRecord& c) override;
    void StoreTo(ConfigRecord& c) const override;

    Values values;
};

}  // namespace qv5
