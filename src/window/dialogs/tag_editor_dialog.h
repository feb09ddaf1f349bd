// The tag editor dialog: a chart's texts, levels, difficulty and favourite mark.
#pragma once

#include <QDialog>
#include <string>

#include "library/tag_editor.h"

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace qv5 {

class SongLibrary;

class TagEditorDialog : public QDialog {
    Q_OBJECT
  public:
    explicit TagEditorDialog(QWidget* parent = nullptr);

    // Fields <-> controls.
    void ShowFields();
    void ReadFields();
    // Button kRestore: the header's values, read again from the chart file.
    void OnRestore();
    void accept() override;

    // A folder has no difficulty, star level, favourite mark or header to
    // restore from: those controls are disabled.
    void SetFolder(bool folder);

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
    QPushButton* restore_;
};

// The chart item's tag-editing command: the dialog over `owner` on the
// chart's library values (or its header's), saved on OK. True when saved,
// after which the information panel is to be shown again. With `is_folder`
// the path is a folder item's, and its folder row is edited.
bool EditTags(QWidget* owner, SongLibrary& library, const std::string& path,
              bool is_folder = false);

}  // namespace qv5
