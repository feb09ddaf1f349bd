#include "window/pages/page.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <algorithm>

#include "config/config_file.h"
#include "platform/text.h"
#include "window/common/controls.h"

namespace qv5 {

Page::Page(QWidget* parent) : QWidget(parent) {
    auto* grid = new QGridLayout(this);
    grid->setAlignment(Qt::AlignTop);
}

void Page::ShowValues() {
    for (auto& b : bindings_) b.show();
}

void Page::ReadControls() {
    for (auto& b : bindings_) b.read();
}

void Page::LoadFrom(const ConfigRecord& record) {
    for (const ConfigKey* k : keys_) {
        if (k->int_field) values.*k->int_field = record.*k->int_field;
        if (k->text_field) values.*k->text_field = record.*k->text_field;
    }
}

void Page::StoreTo(ConfigRecord& record) const {
    for (const ConfigKey* k : keys_) {
        if (k->int_field) record.*k->int_field = values.*k->int_field;
        if (k->text_field) record.*k->text_field = values.*k->text_field;
    }
}

void Page::Keep(const ConfigKey& key) {
    if (std::find(keys_.begin(), keys_.end(), &key) == keys_.end()) keys_.push_back(&key);
}

void Page::Keep(IntField field) {
    Keep(KeyOf(field));
}

void Page::Keep(TextField field) {
    Keep(KeyOf(field));
}

void Page::Place(QWidget* w, const QString& label, int label_id) {
    auto* grid = static_cast<QGridLayout*>(layout());
    if (!label.isEmpty() || label_id != 0) {
        auto* l = new QLabel(label, this);
        if (label_id != 0) SetControlId(l, label_id);
        grid->addWidget(l, row_, column_);
        grid->addWidget(w, row_, column_ + 1);
    } else {
        grid->addWidget(w, row_, column_, 1, 2);
    }
    ++row_;
}

void Page::NextColumn() {
    column_ += 2;
    row_ = 0;
}

void SetDropDownHeight(QComboBox* list, int pixels) {
    // Qt sizes the open list by rows; take as many rows as fit.
    const int row =
        std::max(1, list->view()->sizeHintForRow(0) > 0 ? list->view()->sizeHintForRow(0)
                                                        : list->fontMetrics().height() + 4);
    list->setMaxVisibleItems(std::max(1, pixels / row));
    list->setProperty("dropDownHeight", pixels);
}

QCheckBox* Page::AddCheck(int id, const QString& caption, IntField field) {
    Keep(field);
    std::int32_t* value = &(values.*field);
    auto* box = new QCheckBox(caption, this);
    SetControlId(box, id);
    Place(box);
    // A value other than 0 and 1 (only a hand-edited file has one) shows as
    // ticked and is kept until the box is changed.
    bindings_.push_back({[box, value] { box->setChecked(*value != 0); },
                         [box, value] {
                             const bool stray = *value != 0 && *value != 1;
                             if (!(stray && box->isChecked())) *value = box->isChecked() ? 1 : 0;
                         }});
    return box;
}

QCheckBox* Page::AddBitCheck(int id, const QString& caption, IntField field, int bit) {
    Keep(field);
    std::int32_t* value = &(values.*field);
    auto* box = new QCheckBox(caption, this);
    SetControlId(box, id);
    Place(box);
    const std::int32_t mask = std::int32_t(1) << bit;
    bindings_.push_back(
        {[box, value, mask] { box->setChecked((*value & mask) != 0); },
         [box, value, mask] { *value = box->isChecked() ? (*value | mask) : (*value & ~mask); }});
    return box;
}

QLineEdit* Page::AddIntEdit(int id, const QString& label, IntField field, int label_id) {
    Keep(field);
    std::int32_t* value = &(values.*field);
    auto* edit = new QLineEdit(this);
    SetControlId(edit, id);
    edit->setMinimumWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("00000000")));
    Place(edit, label, label_id);
    bindings_.push_back(
        {[edit, value] { edit->setText(QString::number(*value)); },
         [edit, value] { *value = LeadingNumber(edit->text().toUtf8().constData()); }});
    return edit;
}

QLineEdit* Page::AddTextEdit(int id, const QString& label, TextField field, bool password,
                             int label_id) {
    Keep(field);
    std::string* value = &(values.*field);
    auto* edit = new QLineEdit(this);
    SetControlId(edit, id);
    if (password) edit->setEchoMode(QLineEdit::Password);
    // Long captions beside an edit must not squeeze it to a sliver.
    edit->setMinimumWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("0000000000")));
    Place(edit, label, label_id);
    bindings_.push_back({[edit, value] { edit->setText(ToQString(*value)); },
                         [edit, value] { *value = FromQString(edit->text()); }});
    return edit;
}

void Page::AddRadioGroup(const std::vector<int>& ids, const QStringList& captions, IntField field) {
    Keep(field);
    std::int32_t* value = &(values.*field);
    auto* box = new QWidget(this);  // the buttons' parent makes them one exclusive group
    auto* column = new QVBoxLayout(box);
    column->setContentsMargins(0, 0, 0, 0);
    std::vector<QRadioButton*> buttons;
    for (size_t i = 0; i < ids.size(); ++i) {
        auto* r = new QRadioButton(i < size_t(captions.size()) ? captions[int(i)] : QString(), box);
        SetControlId(r, ids[i]);
        column->addWidget(r);
        buttons.push_back(r);
    }
    Place(box);
    bindings_.push_back({[buttons, value] {
                             // A value outside the group selects none.
                             for (auto* b : buttons) b->setAutoExclusive(false);
                             for (size_t i = 0; i < buttons.size(); ++i)
                                 buttons[i]->setChecked(*value == std::int32_t(i));
                             for (auto* b : buttons) b->setAutoExclusive(true);
                         },
                         [buttons, value] {
                             *value = -1;
                             for (size_t i = 0; i < buttons.size(); ++i)
                                 if (buttons[i]->isChecked()) *value = std::int32_t(i);
                         }});
}

QAbstractButton* Page::AddButton(int id, const QString& caption, std::function<void()> handler) {
    auto* b = new QPushButton(caption, this);
    SetControlId(b, id);
    b->setAutoDefault(false);  // Return in an edit must not press it
    Place(b);
    connect(b, &QPushButton::clicked, this, [handler = std::move(handler)] {
        if (handler) handler();
    });
    return b;
}

QWidget* Page::AddStatic(int id, const QString& caption) {
    auto* l = new QLabel(caption, this);
    l->setWordWrap(true);
    SetControlId(l, id);
    Place(l);
    return l;
}

}  // namespace qv5
