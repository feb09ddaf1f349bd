// The SELECT page: the song select's filters and level bar maxima.
#pragma once

#include "window/page.h"

namespace qv5 {

class SelectPage : public Page {
    Q_OBJECT
  public:
    struct Values {
        std::int32_t difficultychangetype = 0, ignorekeyall = 0, ignorekeysingle = 0;
        std::int32_t ignorekeydouble = 0, ignoredp = 0, ignorepms = 0, ignoredifficultyall = 0;
        std::int32_t ignore5key = 0;
        std::int32_t levelbarflash_5 = 9, levelbarflash_7 = 12, levelbarflash_9 = 42;
        std::int32_t disabledifficultyfilter = 0, preview = 1, disablesubtitle = 0;
    };

    explicit SelectPage(QWidget* parent = nullptr);
    void LoadFrom(const ConfigRecord& c) override;
    void StoreTo(ConfigRecord& c) const override;

    Values values;
};

}  // namespace qv5
