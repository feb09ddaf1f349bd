#include "window/main_page.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>

#include "window/controls.h"
#include "platform/text.h"

namespace qv5 {

MainPage::MainPage(QWidget* parent) : Page(parent) {
    players_ = new QComboBox(this);
    SetControlId(players_, 1001);
    Place(players_, QStringLiteral("ID"));
    AddTextEdit(1002, QStringLiteral("PASS"), &values.pass, true);
    AddStatic(1046, QString());
    AddButton(1003, QString(), [this] { OnNewPlayer(); });
    AddButton(1004, QString(), nullptr)->setEnabled(false);
    AddButton(1027, QString(), nullptr)->setVisible(false);
    AddCheck(1006, QString(), &values.screenmode);
    AddStatic(1044, QString());
    AddIntEdit(1026, QStringLiteral("X"), &values.windowsize_x);
    AddIntEdit(1013, QStringLiteral("Y"), &values.windowsize_y);
    AddIntEdit(1008, QString(), &values.screenexrate)->setVisible(false);
    AddStatic(1045, QString());
    AddRadioGroup({1041, 1042, 1043}, {}, &values.autoreload);
    AddCheck(1018, QString(), &values.qv5ir);
    AddCheck(1017, QStringLiteral("Rival"), &values.getrival);
    AddCheck(1019, QStringLiteral("Auto update"), &values.autoupdate);
    AddCheck(1016, QString(), &values.qv4ir)->setVisible(false);
    AddTextEdit(1009, QString(), &values.qv4id)->setVisible(false);
    AddTextEdit(1010, QString(), &values.qv4pass, true)->setVisible(false);
    AddTextEdit(1011, QString(), &values.mail)->setVisible(false);
    AddButton(1035, QString(), [this] { OnTopPage(); });
    AddButton(1036, QString(), [this] { OnMyPage(); });
    AddStatic(1067, QStringLiteral("Language"));
}

void MainPage::ShowValues() {
    Page::ShowValues();
    // Like a drop-down list: a text that is not listed leaves the selection alone.
    int index = players_->findText(ToQString(values.id), Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (index >= 0) players_->setCurrentIndex(index);
}

void MainPage::ReadControls() {
    Page::ReadControls();
    values.id = players_->currentIndex() < 0 ? std::string() : FromQString(players_->currentText());
}

void MainPage::LoadFrom(const ConfigRecord& c) {
    values.pass = c.pass;
    values.screenmode = c.screenmode;
    values.windowsize_x = c.windowsize_x;
    values.windowsize_y = c.windowsize_y;
    values.screenexrate = c.screenexrate;
    values.autoreload = c.autoreload;
    values.qv5ir = c.qv5ir;
    values.getrival = c.getrival;
    values.autoupdate = c.autoupdate;
    values.qv4ir = c.qv4ir;
    values.qv4id = c.qv4id;
    values.qv4pass = c.qv4pass;
    values.mail = c.mail;
    values.id = c.id;
}

void MainPage::StorePlayerTo(ConfigRecord& c) const {
    c.pass = values.pass;
    c.screenmode = values.screenmode;
    c.windowsize_x = values.windowsize_x;
    c.windowsize_y = values.windowsize_y;
    c.screenexrate = values.screenexrate;
    c.autoreload = values.autoreload;
    c.id = values.id;
}

void MainPage::StoreRankingTo(ConfigRecord& c) const {
    c.qv5ir = values.qv5ir;
    c.getrival = values.getrival;
    c.autoupdate = values.autoupdate;
    c.qv4ir = values.qv4ir;
    c.qv4id = values.qv4id;
    c.qv4pass = values.qv4pass;
    c.mail = values.mail;
}

void MainPage::StoreTo(ConfigRecord& c) const {
    StorePlayerTo(c);
    StoreRankingTo(c);
}

}  // namespace qv5
