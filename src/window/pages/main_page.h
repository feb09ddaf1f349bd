// The MAIN page: player, window and ranking settings.
#pragma once

#include <string>

#include "window/pages/page.h"

class QComboBox;

namespace qv5 {

class MainPage : public Page {
    Q_OBJECT
  public:
    explicit MainPage(QWidget* parent = nullptr);
    void ShowValues() override;
    void ReadControls() override;

    // Lists the player databases into kPlayers and selects `selected` when
    // present, entry 0 otherwise.
    void FillPlayerList(const std::string& selected);

    // False when the dialog was closed with nothing typed.
    bool OnNewPlayer();
    void OnTopPage();
    void OnMyPage();

  private:
    QComboBox* players_;
};

}  // namespace qv5
