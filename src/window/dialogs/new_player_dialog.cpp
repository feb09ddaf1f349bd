#include "window/dialogs/new_player_dialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>

#include "platform/text.h"
#include "platform/tr.h"
#include "platform/ui_service.h"
#include "player/score_restore.h"
#include "window/common/controls.h"
#include "window/common/progress_window.h"
#include "window/dialogs/new_player_dialog_ids.h"

namespace qv5 {

using namespace new_player_id;

NewPlayerDialog::NewPlayerDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("NEW PLAYER"));
    id_edit_ = new QLineEdit(this);
    password_edit_ = new QLineEdit(this);
    password_edit_->setEchoMode(QLineEdit::Password);
    link_box_ = new QCheckBox(QStringLiteral("QV5IR"), this);
    irid_edit_ = new QLineEdit(this);
    irid_edit_->setEnabled(false);
    SetControlId(id_edit_, kId);
    SetControlId(password_edit_, kPassword);
    SetControlId(link_box_, kLinkIr);
    SetControlId(irid_edit_, kIrId);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    SetControlId(buttons->button(QDialogButtonBox::Ok), kIdOk);
    SetControlId(buttons->button(QDialogButtonBox::Cancel), kIdCancel);
    auto* form = new QFormLayout(this);
    form->addRow(QStringLiteral("ID"), id_edit_);
    form->addRow(QStringLiteral("PASSWORD"), password_edit_);
    form->addRow(link_box_);
    form->addRow(QStringLiteral("QV5IR ID"), irid_edit_);
    form->addRow(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &NewPlayerDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &NewPlayerDialog::reject);
    connect(link_box_, &QCheckBox::clicked, this, &NewPlayerDialog::OnLinkClicked);
}

void NewPlayerDialog::ShowFields() {
    id_edit_->setText(ToQString(id));
    password_edit_->setText(ToQString(password));
    irid_edit_->setText(ToQString(irid));
    link_box_->setChecked(link == 1);
    irid_edit_->setEnabled(link == 1);
}

void NewPlayerDialog::ReadFields() {
    id = FromQString(id_edit_->text());
    password = FromQString(password_edit_->text());
    irid = FromQString(irid_edit_->text());
    link = link_box_->isChecked() ? 1 : 0;
}

void NewPlayerDialog::OnLinkClicked() {
    ReadFields();
    irid_edit_->setEnabled(link == 1);
}

void NewPlayerDialog::accept() {
    ReadFields();
    QDialog::accept();
}

void NewPlayerDialog::reject() {
    id.clear();
    password.clear();
    QDialog::reject();
}

int CreateLinkedPlayer(QWidget* owner, const NewPlayerDialog& dialog) {
    auto progress = [owner](RestoreStep step) {
        return std::make_unique<ProgressWindow>(
            owner, Tr("NewPlayerDialog",
                      step == RestoreStep::Download
                          ? QT_TRANSLATE_NOOP("NewPlayerDialog", "スコアデータのダウンロード")
                          : QT_TRANSLATE_NOOP("NewPlayerDialog", "スコアデータの読み込み")));
    };
    return RestoreScores(dialog.id, dialog.password, dialog.irid, progress, ShowOn(owner));
}

}  // namespace qv5
