// The OPTION page: play and song select tuning, and the font used when the
// image font is off.
#pragma once

#include <string>

#include "window/pages/page.h"

namespace qv5 {

class OptionPage : public Page {
    Q_OBJECT
  public:
    explicit OptionPage(QWidget* parent = nullptr);

    // Button kChooseFont: the face chosen replaces the font value, and every value
    // is shown again as last read (edits not yet read go back).
    void OnChooseFont();
};

}  // namespace qv5
