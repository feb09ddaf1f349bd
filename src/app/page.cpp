#include "app/page.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "app/controls.h"
#include "config/config_file.h"
#include "platform/text.h"

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

void Page::Place(QWidget* w, const QString& label) {
    auto* grid = static_cast<QGridLayout*>(layout());
    if (!label.isEmpty()) {
        grid->addWidget(new QLabel(label, this), row_, 0);
        grid->addWidget(w, row_, 1);
    } else {
        grid->addWidget(w, row_, 0, 1, 2);
    }
    ++row_;
}

QCheckBox* Page::AddCheck(int id, const QString& caption, std::int32_t* value) {
    auto* box = new QCheckBox(caption, this);
    SetControlId(box, id);
    Place(box);
    bindings_.push_back({[box, value] { box->setChecked(*value == 1); },
                         [box, value] { *value = box->isChecked() ? 1 : 0; }});
    return box;
}

QLineEdit* Page::AddIntEdit(int id, const QString& label, std::int32_t* value) {
    auto* edit = new QLineEdit(this);
    SetControlId(edit, id);
    Place(edit, label);
    bindings_.push_back(
        {[edit, value] { edit->setText(QString::number(*value)); },
         [edit, value] { *value = LeadingNumber(edit->text().toUtf8().constData()); }});
    return edit;
}

QLineEdit* Page::AddTextEdit(int id, const QString& label, std::string* value, bool password) {
    auto* edit = new QLineEdit(this);
    SetControlId(edit, id);
    if (password) edit->setEchoMode(QLineEdit::Password);
    Place(edit, label);
    bindings_.push_back({[edit, value] { edit->setText(ToQString(*value)); },
                         [edit, value] { *value = FromQString(edit->text()); }});
    return edit;
}

void Page::AddRadioGroup(const std::vector<int>& ids, const QStringList& captions,
                         std::int32_t* value) {
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
