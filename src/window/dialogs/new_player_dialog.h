// The "NEW PLAYER" dialog.
#pragma once

#include <QDialog>
#include <string>

class QLineEdit;
class QCheckBox;

namespace qv5 {

class NewPlayerDialog : public QDialog {
    Q_OBJECT
  public:
    explicit NewPlayerDialog(QWidget* parent = nullptr);

    // Fields <-> controls.
    void ShowFields();
    void ReadFields();

    void OnLinkClicked();
    void accept() override;
    void reject() override;

    std::string id, password, irid;
    int link = 0;

  private:
    QLineEdit* id_edit_;
    QLineEdit* password_edit_;
    QCheckBox* link_box_;
    QLineEdit* irid_edit_;
};

// The linked-account branch of the new-player command: downloads the account's
// scores and creates the player from them, each step told by a box owned by
// `owner`. 1 when the player was created.
int CreateLinkedPlayer(QWidget* owner, const NewPlayerDialog& dialog);

}  // namespace qv5
