// The MAIN page: player, window and ranking settings.
#pragma once

#include <string>

#include "window/page.h"

class QComboBox;

namespace qv5 {

class MainPage : public Page {
    Q_OBJECT
  public:
    struct Values {
        std::string id, pass;
        std::int32_t screenmode = 0, windowsize_x = 640, windowsize_y = 480, screenexrate = 100;
        std::int32_t autoreload = 2;
        std::int32_t qv5ir = 0, getrival = 0, autoupdate = 0, qv4ir = 0;
        std::string qv4id, qv4pass, mail;
    };

    explicit MainPage(QWidget* parent = nullptr);
    void ShowValues() override;
    void ReadControls() override;
    void LoadFrom(const ConfigRecord& c) override;
    // The player part (ID last) and the ranking part, stored separately
    // because the song library is reopened between the two.
    void StorePlayerTo(ConfigRecord& c) const;
    void StoreRankingTo(ConfigRecord& c) const;
    void StoreTo(ConfigRecord& c) const override;

    // Lists the player databases into 1001 and selects `selected` when
    // present, entry 0 otherwise.
    void FillPlayerList(const std::string& selected);

    // False when the dialog was closed with nothing typed.
    bool OnNewPlayer();
    void OnTopPage();
    void OnMyPage();

    Values values;

  private:
    QComboBox* players_;
};

}  // namespace qv5
