#include "window/dialogs/play_option_dialog.h"

#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "config/config_file.h"
#include "platform/text.h"
#include "platform/ui_service.h"
#include "window/common/controls.h"
#include "window/dialogs/play_option_dialog_ids.h"

namespace qv5 {

using namespace play_option_id;

PlayOptionDialog::PlayOptionDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("PLAY OPTION"));
    setModal(true);
    auto* top = new QVBoxLayout(this);
    auto* row = new QHBoxLayout;
    top->addLayout(row);
    auto* left = new QVBoxLayout;
    auto* right = new QVBoxLayout;
    row->addLayout(left);
    row->addLayout(right);
    AddGroup(
        "GAUGE",
        {kGaugeNormal, kGaugeHard, kGaugeDeath, kGaugeEasy, kGaugePerfectAttack, kGaugeGoodAttack},
        {"NORMAL", "HARD", "DEATH", "EASY", "PERFECT ATTACK", "GOOD ATTACK"}, &gauge, left);
    AddGroup("RANDOM",
             {kRandomNormal, kRandomMirror, kRandomRandom, kRandomSRandom, kRandomScatter,
              kRandomConverge},
             {"NORMAL", "MIRROR", "RANDOM", "S-RANDOM", "SCATTER", "CONVERGE"}, &random, left);
    AddGroup("SPEED", {kSpeedNormal, kSpeedFixMax, kSpeedFixMin, kSpeedFixAverage, kSpeedConstant},
             {"NORMAL", "FIX (MAX BPM)", "FIX (MIN BPM)", "FIX (AVERAGE)", "CONSTANT"}, &hstype,
             right);
    hs_edit_ = new QLineEdit(this);
    SetControlId(hs_edit_, kHs);
    right->addWidget(hs_edit_);
    right->addStretch(1);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(QDialogButtonBox::Ok);
    QPushButton* cancel = buttons->addButton(QDialogButtonBox::Cancel);
    SetControlId(ok, kIdOk);
    SetControlId(cancel, kIdCancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    top->addWidget(buttons);
}

void PlayOptionDialog::AddGroup(const char* title, const std::vector<int>& ids,
                                const QStringList& captions, std::int32_t* value,
                                QVBoxLayout* into) {
    // The group box parents the buttons, which makes them one exclusive group.
    auto* box = new QGroupBox(QString::fromLatin1(title), this);
    auto* column = new QVBoxLayout(box);
    Group g{{}, value};
    for (size_t i = 0; i < ids.size(); ++i) {
        auto* r = new QRadioButton(captions[static_cast<qsizetype>(i)], box);
        SetControlId(r, ids[i]);
        column->addWidget(r);
        g.buttons.push_back(r);
    }
    into->addWidget(box);
    groups_.push_back(std::move(g));
}

void PlayOptionDialog::ShowValues() {
    for (Group& g : groups_) {
        // Exclusivity off for a moment so that a stray value checks nothing.
        for (auto* b : g.buttons) b->setAutoExclusive(false);
        for (size_t i = 0; i < g.buttons.size(); ++i)
            g.buttons[i]->setChecked(*g.value == static_cast<std::int32_t>(i));
        for (auto* b : g.buttons) b->setAutoExclusive(true);
    }
    hs_edit_->setText(ToQString(hs));
}

void PlayOptionDialog::ReadControls() {
    for (Group& g : groups_) {
        *g.value = -1;
        for (size_t i = 0; i < g.buttons.size(); ++i)
            if (g.buttons[i]->isChecked()) *g.value = static_cast<std::int32_t>(i);
    }
    hs = FromQString(hs_edit_->text());
}

void PlayOptionDialog::accept() {
    ReadControls();
    QDialog::accept();
}

}  // namespace qv5
