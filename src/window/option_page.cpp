#include "window/option_page.h"

#include <QCheckBox>

#include "platform/ui_service.h"

namespace qv5 {

OptionPage::OptionPage(QWidget* parent) : Page(parent) {
    Values& v = values;
    AddIntEdit(1002, QStringLiteral("HS MIN"), &v.hsmin);
    AddIntEdit(1008, QStringLiteral("HS MAX"), &v.hsmax);
    AddIntEdit(1009, QStringLiteral("HS MARGIN"), &v.hsmargin);
    AddIntEdit(1028, QString(), &v.basespeed, 1055);
    AddIntEdit(1010, QString(), &v.shuttermargin, 1056);
    AddIntEdit(1011, QString(), &v.inputinterval, 1057);
    AddStatic(1058, QString());
    AddIntEdit(1013, QString(), &v.speedfirst, 1059);
    AddIntEdit(1014, QString(), &v.speednext, 1060);
    AddIntEdit(1068, QString(), &v.poorbga, 1069);
    AddTextEdit(1026, QString(), &v.fontname, false, 1061);
    AddButton(1003, QStringLiteral("SELECT"), [this] { OnChooseFont(); });
    NextColumn();
    AddCheck(1017, QString(), &v.control);
    AddCheck(1006, QString(), &v.buttonselect);
    AddCheck(1015, QString(), &v.outputlog);
    AddCheck(1016, QStringLiteral("thread"), &v.thread)->setVisible(false);
    AddCheck(1018, QString(), &v.folderlamp);
    AddCheck(1019, QString(), &v.disablesystemkey);
    AddCheck(1020, QString(), &v.disableimagefont);
    AddCheck(1021, QString(), &v.disableskinpreview);
    AddCheck(1030, QString(), &v.disablebmsthread);
    AddCheck(1029, QStringLiteral("folder thread"), &v.disablefolderthread)->setVisible(false);
    AddCheck(1033, QString(), &v.gomiscore)->setEnabled(false);
    AddCheck(1038, QString(), &v.disablecurspeedchange);
    AddCheck(1039, QString(), &v.disableleftclickexit);
}

void OptionPage::LoadFrom(const ConfigRecord& c) {
    Values& v = values;
    v.hsmin = c.hsmin;
    v.hsmax = c.hsmax;
    v.hsmargin = c.hsmargin;
    v.shuttermargin = c.shuttermargin;
    v.inputinterval = c.inputinterval;
    v.speedfirst = c.speedfirst;
    v.speednext = c.speednext;
    v.basespeed = c.basespeed;
    v.poorbga = c.poorbga;
    v.fontname = c.fontname;
    v.control = c.control;
    v.buttonselect = c.buttonselect;
    v.outputlog = c.outputlog;
    v.thread = c.thread;
    v.folderlamp = c.folderlamp;
    v.disablesystemkey = c.disablesystemkey;
    v.disableimagefont = c.disableimagefont;
    v.disableskinpreview = c.disableskinpreview;
    v.disablebmsthread = c.disablebmsthread;
    v.disablefolderthread = c.disablefolderthread;
    v.gomiscore = c.gomiscore;
    v.disablecurspeedchange = c.disablecurspeedchange;
    v.disableleftclickexit = c.disableleftclickexit;
}

void OptionPage::StoreTo(ConfigRecord& c) const {
    const Values& v = values;
    c.hsmin = v.hsmin;
    c.hsmax = v.hsmax;
    c.hsmargin = v.hsmargin;
    c.shuttermargin = v.shuttermargin;
    c.inputinterval = v.inputinterval;
    c.speedfirst = v.speedfirst;
    c.speednext = v.speednext;
    c.basespeed = v.basespeed;
    c.poorbga = v.poorbga;
    c.fontname = v.fontname;
    c.control = v.control;
    c.buttonselect = v.buttonselect;
    c.outputlog = v.outputlog;
    c.thread = v.thread;
    c.folderlamp = v.folderlamp;
    c.disablesystemkey = v.disablesystemkey;
    c.disableimagefont = v.disableimagefont;
    c.disableskinpreview = v.disableskinpreview;
    c.disablebmsthread = v.disablebmsthread;
    c.disablefolderthread = v.disablefolderthread;
    c.gomiscore = v.gomiscore;
    c.disablecurspeedchange = v.disablecurspeedchange;
    c.disableleftclickexit = v.disableleftclickexit;
}

void OptionPage::OnChooseFont() {
    auto chosen = Ui().ChooseFont(this, FontChoice{values.fontname, 0});
    if (!chosen) return;
    values.fontname = chosen->face;
    ShowValues();
}

}  // namespace qv5
