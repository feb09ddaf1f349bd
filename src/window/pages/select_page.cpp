#include "window/pages/select_page.h"

#include "window/pages/select_page_ids.h"

namespace qv5 {

using namespace select_page_id;

SelectPage::SelectPage(QWidget* parent) : Page(parent) {
    AddCheck(kDisableDifficultyFilter, QString(), &ConfigRecord::disabledifficultyfilter);
    AddCheck(kPreview, QString(), &ConfigRecord::preview);
    AddCheck(kDisableSubtitle, QString(), &ConfigRecord::disablesubtitle);
    AddStatic(kFilterNote, QString());
    AddCheck(kIgnoreKeyAll, QString(), &ConfigRecord::ignorekeyall);
    AddCheck(kIgnoreKeySingle, QString(), &ConfigRecord::ignorekeysingle);
    AddCheck(kIgnoreKeyDouble, QString(), &ConfigRecord::ignorekeydouble);
    AddCheck(kIgnoreDp, QString(), &ConfigRecord::ignoredp);
    AddCheck(kIgnorePms, QString(), &ConfigRecord::ignorepms);
    AddCheck(kIgnoreDifficultyAll, QString(), &ConfigRecord::ignoredifficultyall);
    AddCheck(kDifficultyChangeType, QString(), &ConfigRecord::difficultychangetype);
    AddCheck(kIgnore5Key, QString(), &ConfigRecord::ignore5key);
    AddStatic(kLevelBarLabel, QString());
    AddIntEdit(kLevelBar5, QStringLiteral("5/10 KEYS"), &ConfigRecord::levelbarflash_5);
    AddIntEdit(kLevelBar7, QStringLiteral("7/14 KEYS"), &ConfigRecord::levelbarflash_7);
    AddIntEdit(kLevelBar9, QStringLiteral("9 BUTTONS"), &ConfigRecord::levelbarflash_9);
}

}  // namespace qv5
