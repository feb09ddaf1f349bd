// The player side of the MAIN page: the player list, the new-player command
// and the two ranking buttons.
#include <QComboBox>

#include "platform/text.h"
#include "platform/ui_service.h"
#include "player/player_db.h"
#include "player/ranking.h"
#include "window/dialogs/new_player_dialog.h"
#include "window/pages/main_page.h"

namespace qv5 {

void MainPage::FillPlayerList(const std::string& selected) {
    players_->clear();
    int select = -1;
    for (const std::string& id : ListPlayers()) {
        players_->addItem(ToQString(id));
        if (select < 0 && id == selected) select = players_->count() - 1;
    }
    players_->setCurrentIndex(select >= 0 ? select : (players_->count() > 0 ? 0 : -1));
    SetDropDownHeight(players_, 120);
}

bool MainPage::OnNewPlayer() {
    NewPlayerDialog dlg(this);
    dlg.id.clear();
    dlg.password.clear();
    dlg.ShowFields();
    Ui().RunDialog(dlg);
    if (!dlg.id.empty() && !dlg.password.empty() && dlg.link == 1) {
        if (CreateLinkedPlayer(this, dlg) != 1) return true;
    } else {
        if (dlg.id.empty() && dlg.password.empty()) return false;
        if (CreatePlayer(dlg.id, dlg.password, ShowOn(this)) != 1) return true;
    }
    ReadControls();  // keep what was typed on the page meanwhile
    players_->addItem(ToQString(dlg.id));
    players_->setCurrentIndex(players_->count() - 1);
    values.id = dlg.id;
    values.pass = dlg.password;
    values.qv4id = dlg.id;
    values.qv4pass = dlg.password;
    ShowValues();
    return true;
}

// Each button opens the page its caption names.
void MainPage::OnTopPage() {
    ReadControls();
    OpenRankingPage(values.id, values.pass, false, ShowOn(this));
}

void MainPage::OnMyPage() {
    ReadControls();
    OpenRankingPage(values.id, values.pass, true, ShowOn(this));
}

}  // namespace qv5
