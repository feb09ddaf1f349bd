// The small dialog that asks for a file or folder name.
#pragma once

#include <QDialog>
#include <optional>
#include <string>

class QLabel;
class QLineEdit;

namespace qv5 {

class NameDialog : public QDialog {
    Q_OBJECT
  public:
    explicit NameDialog(QWidget* parent = nullptr);

    // Shows the dialog through the UI service with `prompt` and `name`
    // (CP932). The name typed, or nothing when cancelled or left empty.
    std::optional<std::string> Ask(const std::string& prompt, const std::string& name);

    // OK reads the edit box into the name; Cancel empties it.
    void accept() override;
    void reject() override;

    std::string name;
    bool confirmed = false;

  private:
    QLabel* prompt_;   // kPrompt
    QLineEdit* edit_;  // kName
};

}  // namespace qv5
