#include "window/dialogs/compressor_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "platform/ui_service.h"
#include "window/common/controls.h"

namespace qv5 {

CompressorDialog::CompressorDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Video Compression"));
    auto* top = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    top->addLayout(form);
    codec_ = new QComboBox(this);
    codec_->setObjectName(QStringLiteral("codec"));
    codec_->addItem(QStringLiteral("Full Frames (Uncompressed)"), FourCc("DIB "));
    codec_->addItem(QStringLiteral("Microsoft Video 1"), FourCc("MSVC"));
    form->addRow(QStringLiteral("Compressor:"), codec_);
    quality_ = new QSpinBox(this);
    quality_->setObjectName(QStringLiteral("quality"));
    quality_->setRange(0, 100);
    quality_->setValue(75);
    form->addRow(QStringLiteral("Compression Quality:"), quality_);
    key_ = new QSpinBox(this);
    key_->setObjectName(QStringLiteral("keyframes"));
    key_->setRange(0, 9999);
    key_->setValue(15);
    form->addRow(QStringLiteral("Key Frame Every (frames):"), key_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    SetControlId(buttons->button(QDialogButtonBox::Ok), kIdOk);
    SetControlId(buttons->button(QDialogButtonBox::Cancel), kIdCancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    top->addWidget(buttons);
}

CompressorChoice CompressorDialog::Choice() const {
    CompressorChoice c;
    c.handler = codec_->currentData().toUInt();
    c.quality = quality_->value() * 100;
    c.key_frame_every = key_->value();
    return c;
}

bool ChooseCompressor(QWidget* owner) {
    CompressorDialog dlg(owner);
    if (Ui().RunDialog(dlg) != QDialog::Accepted) return false;
    return WriteCompVars(dlg.Choice());
}

}  // namespace qv5
