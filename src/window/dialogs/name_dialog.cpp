#include "window/dialogs/name_dialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/text.h"
#include "platform/tr.h"
#include "platform/ui_service.h"
#include "window/common/controls.h"
#include "window/dialogs/name_dialog_ids.h"

namespace qv5 {

using namespace name_dialog_id;

NameDialog::NameDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("QV5 SETUP"));
    auto* layout = new QVBoxLayout(this);
    prompt_ = new QLabel(this);
    SetControlId(prompt_, kPrompt);
    edit_ = new QLineEdit(this);
    SetControlId(edit_, kName);
    edit_->setMinimumWidth(360);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    SetControlId(buttons->button(QDialogButtonBox::Ok), kIdOk);
    SetControlId(buttons->button(QDialogButtonBox::Cancel), kIdCancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &NameDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &NameDialog::reject);
    layout->addWidget(prompt_);
    layout->addWidget(edit_);
    layout->addWidget(buttons);
}

std::optional<std::string> NameDialog::Ask(const std::string& prompt, const std::string& initial) {
    prompt_->setText(ToQString(prompt));
    name = initial;
    confirmed = false;
    edit_->setText(ToQString(name));
    edit_->selectAll();
    edit_->setFocus();
    const int result = Ui().RunDialog(*this);
    if (result == QDialog::Accepted && !confirmed)
        ShowMessage(parentWidget(), Tr("NameDialog", "この名前には使えない文字が含まれています。"));
    if (result != QDialog::Accepted || !confirmed || name.empty()) return std::nullopt;
    return name;
}

void NameDialog::accept() {
    // A name with no Shift-JIS form would reach the disk as a different name.
    auto typed = Utf8ToCp932(edit_->text().toStdString());
    name = typed ? *typed : std::string();
    confirmed = typed.has_value();
    QDialog::accept();
}

void NameDialog::reject() {
    name.clear();
    confirmed = false;
    QDialog::reject();
}

}  // namespace qv5
