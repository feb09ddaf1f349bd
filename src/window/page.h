// A settings page: a child window that keeps plain values and exchanges them
// with its controls in both directions (ShowValues / ReadControls).
#pragma once

#include <QWidget>
#include <functional>
#include <string>
#include <vector>

#include "config/config_record.h"

class QCheckBox;
class QLineEdit;
class QRadioButton;
class QAbstractButton;
class QComboBox;
class QLabel;

namespace qv5 {

class Page : public QWidget {
    Q_OBJECT
  public:
    explicit Page(QWidget* parent = nullptr);
    // Values -> controls.
    virtual void ShowValues();
    // Controls -> values.
    virtual void ReadControls();
    // Record -> values, values -> record.
    virtual void LoadFrom(const ConfigRecord&) {}
    virtual void StoreTo(ConfigRecord&) const {}

  protected:
    // Controls bound to page values; created here, laid out in a simple grid.
    // A label_id gives the edit's label an id of its own (for its caption).
    QCheckBox* AddCheck(int id, const QString& caption, std::int32_t* value);
    QLineEdit* AddIntEdit(int id, const QString& label, std::int32_t* value, int label_id = 0);
    QLineEdit* AddTextEdit(int id, const QString& label, std::string* value, bool password = false,
                           int label_id = 0);
    void AddRadioGroup(const std::vector<int>& ids, const QStringList& captions,
                       std::int32_t* value);
    QAbstractButton* AddButton(int id, const QString& caption, std::function<void()> handler);
    QWidget* AddStatic(int id, const QString& caption);
    void Place(QWidget* w, const QString& label = QString(), int label_id = 0);
    // Further controls go into a new column to the right, from the top.
    void NextColumn();

  private:
    struct Binding {
        std::function<void()> show, read;
    };
    std::vector<Binding> bindings_;
    int row_ = 0, column_ = 0;
};

// The height of a drop-down list's open part, as near as the style allows.
void SetDropDownHeight(QComboBox* list, int pixels);

}  // namespace qv5
