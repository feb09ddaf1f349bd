#include "window/select_page.h"

namespace qv5 {

SelectPage::SelectPage(QWidget* parent) : Page(parent) {
    Values& v = values;
    AddCheck(1006, QString(), &v.disabledifficultyfilter);
    AddCheck(1015, QString(), &v.preview);
    AddCheck(1016, QString(), &v.disablesubtitle);
    AddStatic(1062, QString());
    AddCheck(1017, QString(), &v.ignorekeyall);
    AddCheck(1018, QString(), &v.ignorekeysingle);
    AddCheck(1019, QString(), &v.ignorekeydouble);
    AddCheck(1020, QString(), &v.ignoredp);
    AddCheck(1021, QString(), &v.ignorepms);
    AddCheck(1029, QString(), &v.ignoredifficultyall);
    AddCheck(1030, QString(), &v.difficultychangetype);
    AddCheck(1033, QString(), &v.ignore5key);
    AddStatic(1063, QString());
    AddIntEdit(1002, QStringLiteral("5/10 KEYS"), &v.levelbarflash_5);
    AddIntEdit(1008, QStringLiteral("7/14 KEYS"), &v.levelbarflash_7);
    AddIntEdit(1009, QStringLiteral("9 BUTTONS"), &v.levelbarflash_9);
}

void SelectPage::LoadFrom(const ConfigRecord& c) {
    Values& v = values;
    v.difficultychangetype = c.difficultychangetype;
    v.ignorekeyall = c.ignorekeyall;
    v.ignorekeysingle = c.ignorekeysingle;
    v.ignorekeydouble = c.ignorekeydouble;
    v.ignoredp = c.ignoredp;
    v.ignorepms = c.ignorepms;
    v.ignoredifficultyall = c.ignoredifficultyall;
    v.ignore5key = c.ignore5key;
    v.levelbarflash_5 = c.levelbarflash_5;
    v.levelbarflash_7 = c.levelbarflash_7;
    v.levelbarflash_9 = c.levelbarflash_9;
    v.disabledifficultyfilter = c.disabledifficultyfilter;
    v.preview = c.preview;
    v.disablesubtitle = c.disablesubtitle;
}

void SelectPage::StoreTo(ConfigRecord& c) const {
    const Values& v = values;
    c.difficultychangetype = v.difficultychangetype;
    c.ignorekeyall = v.ignorekeyall;
    c.ignorekeysingle = v.ignorekeysingle;
    c.ignorekeydouble = v.ignorekeydouble;
    c.ignoredp = v.ignoredp;
    c.ignorepms = v.ignorepms;
    c.ignoredifficultyall = v.ignoredifficultyall;
    c.ignore5key = v.ignore5key;
    c.levelbarflash_5 = v.levelbarflash_5;
    c.levelbarflash_7 = v.levelbarflash_7;
    c.levelbarflash_9 = v.levelbarflash_9;
    c.disabledifficultyfilter = v.disabledifficultyfilter;
    c.preview = v.preview;
    c.disablesubtitle = v.disablesubtitle;
}

}  // namespace qv5
