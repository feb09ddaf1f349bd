// The player checks of ApplySettings and the first-run loop.
#include "app/language.h"
#include "app/main_page.h"
#include "app/main_window.h"
#include "app/main_window_steps.h"
#include "config/config_record.h"
#include "platform/text.h"
#include "platform/ui_service.h"
#include "player/player_db.h"

namespace qv5 {

bool CheckPlayer(MainWindow& dlg) {
    const int language = TheConfig().language;
    const MainPage::Values& v = dlg.MainTab()->values;
    if (v.id.size() < 3) {
        ShowMessage(&dlg,
                    Localized(language, u8"NEW PLAYERボタンでプレイヤーデータを作成してください。",
                              "Create new player data."));
        return false;
    }
    if (v.pass.size() < 3) {
        ShowMessage(&dlg, Localized(language, u8"パスワードを入力して下さい。", "Input password."));
        return false;
    }
    if (!VerifyPlayerPassword(v.id, v.pass, ShowOn(&dlg))) {
        ShowMessage(&dlg, Localized(language, u8"パスワードが違います。", "Password error."));
        return false;
    }
    return true;
}

void RunFirstRunLoop(MainWindow& dlg) {
    MainPage* page = dlg.MainTab();
    page->ReadControls();
    while (page->values.id.empty()) {
        ShowMessage(&dlg,
                    Sj(u8"最初にプレイヤーデータを作成します。\n"
                       u8"お好きなID(英数字のみ)とパスワードを設定して下さい。"),
                    Sj(u8"ようこそ"));
        page->OnNewPlayer();
        page->ReadControls();
    }
}

}  // namespace qv5
