// A settings page: a child window that keeps plain values and exchanges them
// with its controls in both directions (ShowValues / ReadControls). The values
// are the page's own copy of the record's fields it edits; each control names
// its field, and the page loads and stores exactly those through the key table.
#pragma once

#include <QWidget>
#include <functional>
#include <string>
#include <vector>

#include "config/config_keys.h"

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
    // Record -> values, values -> record: the keys the page's controls edit.
    void LoadFrom(const ConfigRecord& record);
    void StoreTo(ConfigRecord& record) const;
    // The keys of the record this page edits, in the order they were bound.
    const std::vector<const ConfigKey*>& Keys() const { return keys_; }

    // Only the fields named by Keys() mean anything here.
    ConfigRecord values;

  protected:
    using IntField = std::int32_t ConfigRecord::*;
    using TextField = std::string ConfigRecord::*;
    // Controls bound to page values; created here, laid out in a simple grid.
    // A label_id gives the edit's label an id of its own (for its caption).
    QCheckBox* AddCheck(int id, const QString& caption, IntField field);
    // A box for one bit of an integer key.
    QCheckBox* AddBitCheck(int id, const QString& caption, IntField field, int bit);
    QLineEdit* AddIntEdit(int id, const QString& label, IntField field, int label_id = 0);
    QLineEdit* AddTextEdit(int id, const QString& label, TextField field, bool password = false,
                           int label_id = 0);
    void AddRadioGroup(const std::vector<int>& ids, const QStringList& captions, IntField field);
    // A key the page shows and reads by itself (a list, say).
    void Keep(IntField field);
    void Keep(TextField field);
    QAbstractButton* AddButton(int id, const QString& caption, std::function<void()> handler);
    QWidget* AddStatic(int id, const QString& caption);
    void Place(QWidget* w, const QString& label = QString(), int label_id = 0);
    // Further controls go into a new column to the right, from the top.
    void NextColumn();

  private:
    void Keep(const ConfigKey& key);
    struct Binding {
        std::function<void()> show, read;
    };
    std::vector<Binding> bindings_;
    std::vector<const ConfigKey*> keys_;
    int row_ = 0, column_ = 0;
};

// The height of a drop-down list's open part, as near as the style allows.
void SetDropDownHeight(QComboBox* list, int pixels);

}  // namespace qv5
