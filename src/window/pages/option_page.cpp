#include "window/pages/option_page.h"

#include <QCheckBox>

#include "platform/ui_service.h"
#include "window/pages/option_page_ids.h"

namespace qv5 {

using namespace option_page_id;

OptionPage::OptionPage(QWidget* parent) : Page(parent) {
    AddIntEdit(kHsMin, QStringLiteral("HS MIN"), &ConfigRecord::hsmin);
    AddIntEdit(kHsMax, QStringLiteral("HS MAX"), &ConfigRecord::hsmax);
    AddIntEdit(kHsMargin, QStringLiteral("HS MARGIN"), &ConfigRecord::hsmargin);
    AddIntEdit(kBaseSpeed, QString(), &ConfigRecord::basespeed, kBaseSpeedLabel);
    AddIntEdit(kShutterMargin, QString(), &ConfigRecord::shuttermargin, kShutterMarginLabel);
    AddIntEdit(kInputInterval, QString(), &ConfigRecord::inputinterval, kInputIntervalLabel);
    AddStatic(kListSpeedLabel, QString());
    AddIntEdit(kSpeedFirst, QString(), &ConfigRecord::speedfirst, kSpeedFirstLabel);
    AddIntEdit(kSpeedNext, QString(), &ConfigRecord::speednext, kSpeedNextLabel);
    AddIntEdit(kPoorBga, QString(), &ConfigRecord::poorbga, kPoorBgaLabel);
    AddTextEdit(kFontName, QString(), &ConfigRecord::fontname, false, kFontNameLabel);
    AddButton(kChooseFont, QStringLiteral("SELECT"), [this] { OnChooseFont(); });
    NextColumn();
    AddCheck(kControl, QString(), &ConfigRecord::control);
    AddCheck(kButtonSelect, QString(), &ConfigRecord::buttonselect);
    AddCheck(kOutputLog, QString(), &ConfigRecord::outputlog);
    AddCheck(kThread, QStringLiteral("thread"), &ConfigRecord::thread)->setVisible(false);
    AddCheck(kFolderLamp, QString(), &ConfigRecord::folderlamp);
    AddCheck(kDisableSystemKey, QString(), &ConfigRecord::disablesystemkey);
    AddCheck(kDisableImageFont, QString(), &ConfigRecord::disableimagefont);
    AddCheck(kDisableSkinPreview, QString(), &ConfigRecord::disableskinpreview);
    AddCheck(kDisableBmsThread, QString(), &ConfigRecord::disablebmsthread);
    AddCheck(kDisableFolderThread, QStringLiteral("folder thread"),
             &ConfigRecord::disablefolderthread)
        ->setVisible(false);
    AddCheck(kGomiScore, QString(), &ConfigRecord::gomiscore)->setEnabled(false);
    AddCheck(kDisableCurSpeedChange, QString(), &ConfigRecord::disablecurspeedchange);
    AddCheck(kDisableLeftClickExit, QString(), &ConfigRecord::disableleftclickexit);
}

void OptionPage::OnChooseFont() {
    auto chosen = Ui().ChooseFont(this, FontChoice{values.fontname, 0});
    if (!chosen) return;
    values.fontname = chosen->face;
    ShowValues();
}

}  // namespace qv5
