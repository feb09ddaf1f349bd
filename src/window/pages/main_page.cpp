#include "window/pages/main_page.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>

#include "platform/text.h"
#include "window/common/controls.h"
#include "window/pages/main_page_ids.h"

namespace qv5 {

using namespace main_page_id;

MainPage::MainPage(QWidget* parent) : Page(parent) {
    players_ = new QComboBox(this);
    SetControlId(players_, kPlayers);
    Place(players_, QStringLiteral("ID"));
    Keep(&ConfigRecord::id);
    AddTextEdit(kPass, QStringLiteral("PASS"), &ConfigRecord::pass, true);
    AddStatic(kIdNote, QString());
    AddButton(kNewPlayer, QString(), [this] { OnNewPlayer(); });
    AddButton(kDeletePlayer, QString(), nullptr)->setEnabled(false);
    AddButton(kResetDatabase, QString(), nullptr)->setVisible(false);
    AddCheck(kWindowMode, QString(), &ConfigRecord::screenmode);
    AddStatic(kWindowSizeLabel, QString());
    AddIntEdit(kWidth, QStringLiteral("X"), &ConfigRecord::windowsize_x);
    AddIntEdit(kHeight, QStringLiteral("Y"), &ConfigRecord::windowsize_y);
    AddIntEdit(kScreenRate, QString(), &ConfigRecord::screenexrate)->setVisible(false);
    AddStatic(kReloadLabel, QString());
    AddRadioGroup({kReloadManual, kReloadOpened, kReloadAtStart}, {}, &ConfigRecord::autoreload);
    AddCheck(kQv5Ir, QString(), &ConfigRecord::qv5ir);
    AddCheck(kRival, QStringLiteral("Rival"), &ConfigRecord::getrival);
    AddCheck(kAutoUpdate, QStringLiteral("Auto update"), &ConfigRecord::autoupdate);
    AddCheck(kQv4Ir, QString(), &ConfigRecord::qv4ir)->setVisible(false);
    AddTextEdit(kQv4Id, QString(), &ConfigRecord::qv4id)->setVisible(false);
    AddTextEdit(kQv4Pass, QString(), &ConfigRecord::qv4pass, true)->setVisible(false);
    AddTextEdit(kMail, QString(), &ConfigRecord::mail)->setVisible(false);
    AddButton(kTopPage, QString(), [this] { OnTopPage(); });
    AddButton(kMyPage, QString(), [this] { OnMyPage(); });
    AddStatic(kLanguageLabel, QStringLiteral("Language"));
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

}  // namespace qv5
