// The OPTION page: play and song select tuning, and the font used when the
// image font is off.
#pragma once

#include <string>

#include "window/page.h"

namespace qv5 {

class OptionPage : public Page {
    Q_OBJECT
  public:
    struct Values {
        std::int32_t hsmin = 10, hsmax = 900, hsmargin = 10, shuttermargin = 10;
        std::int32_t inputinterval = 16, speedfirst = 300, speednext = 70, basespeed = 100;
        std::int32_t poorbga = 500;
        std::string fontname = "Ariel";
        std::int32_t control = 0, buttonselect = 0, outputlog = 0, thread = 0, folderlamp = 0;
        std::int32_t disablesystemkey = 0, disableimagefont = 0, disableskinpreview = 0;
        std::int32_t disablebmsthread = 0, disablefolderthread = 0, gomiscore = 0;
        std::int32_t disablecurspeedchange = 0, disableleftclickexit = 0;
    };

    explicit OptionPage(QWidget* parent = nullptr);
    void LoadFrom(const ConfigRecord& c) override;
    void StoreTo(ConfigRecord& c) const override;

    // Button 1003: the face chosen replaces the font value, and every value
    // is shown again as last read (edits not yet read go back).
    void OnChooseFont();

    Values values;
};

}  // namespace qv5
