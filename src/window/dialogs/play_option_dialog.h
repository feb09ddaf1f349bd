// The PLAY OPTION dialog: gauge, random and speed type, and the speed.
#pragma once

#include <QDialog>
#include <cstdint>
#include <string>
#include <vector>

class QLineEdit;
class QRadioButton;
class QVBoxLayout;

namespace qv5 {

class PlayOptionDialog : public QDialog {
    Q_OBJECT
  public:
    explicit PlayOptionDialog(QWidget* parent = nullptr);

    // Values, exchanged with the controls by ShowValues / ReadControls. A radio
    // value outside its group shows no button; no button checked reads as -1.
    std::int32_t gauge = 0;
    std::int32_t random = 0;
    std::int32_t hstype = 0;
    std::string hs;  // the text of edit kHs

    void ShowValues();
    void ReadControls();
    // OK: reads the controls, then closes.
    void accept() override;

  private:
    struct Group {
        std::vector<QRadioButton*> buttons;
        std::int32_t* value;
    };
    void AddGroup(const char* title, const std::vector<int>& ids, const QStringList& captions,
                  std::int32_t* value, QVBoxLayout* into);

    std::vector<Group> groups_;
    QLineEdit* hs_edit_;
};

// Main window button kPlayOptions: the record's play options through the dialog,
// then ApplySettings whatever the dialog returned.

}  // namespace qv5
