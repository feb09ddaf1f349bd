// The tag editor dialog: a chart's texts, levels, difficulty and favourite mark.
#pragma once

#include <QDialog>
#include <string>

#include "library/tag_editor.h"

class QCheckBox;
class QLineEdit;

namespace qv5 {

class TagEditorDialog : public QDialog {
    Q_OBJECT
  public:
    explicit TagEditorDialog(QWidget* parent = nullptr);

    // Fields <-> controls.
    void ShowFields();
    void ReadFields();
    // Button 1003: the header's values, read again from the chart file.
    void OnRestore();
    void accept() override;

    TagFields fields;
    std::string chart_path;

  private:
    QLineEdit* AddEdit(int id);

    QLineEdit* title_;
    QLineEdit* subtitle_;
    QLineEdit* genre_;
    QLineEdit* artist_;
    QLineEdit* subartist_;
    QLineEdit* level_;
    QLineEdit* exlevel_;
    QLineEdit* difficulty_;
    QCheckBox* favorite_;
};

// The chart item's tag-editing command: the dialog over `owner` on the
// chart's library values (or its header's), saved on OK. True when saved,
// after which the information panel is to be shown again.
bool EditTags(QWidget* owner, const std::string& chart_path);

}  // namespace qv5
