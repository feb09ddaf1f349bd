// The player checks of ApplySettings and the first-run loop.
#include "config/config_record.h"
#include "platform/text.h"
#include "platform/tr.h"
#include "platform/ui_service.h"
#include "player/player_db.h"
#include "window/main/main_window.h"
#include "window/pages/main_page.h"

namespace qv5 {

bool MainWindow::CheckPlayer() {
    MainWindow& dlg = *this;
    const ConfigRecord& v = dlg.MainTab()->values;
    if (v.id.size() < 3) {
        ShowMessage(&dlg, Tr("SignIn", "NEW PLAYERボタンでプレイヤーデータを作成してください。"));
        return false;
    }
    if (v.pass.size() < 3) {
        ShowMessage(&dlg, Tr("SignIn", "パスワードを入力して下さい。"));
        return false;
    }
    if (!VerifyPlayerPassword(v.id, v.pass, ShowOn(&dlg))) {
        dlg.setWindowTitle(QString::fromLatin1(kAppTitle));
        ShowMessage(&dlg, Tr("SignIn", "パスワードが違います。"));
        return false;
    }
    // The title says who is signed in: the check itself says nothing.
    dlg.setWindowTitle(QString::fromLatin1(kAppTitle) + QStringLiteral(" \u2014 ") +
                       ToQString(v.id));
    return true;
}

bool MainWindow::RunFirstRunLoop() {
    MainWindow& dlg = *this;
    MainPage* page = dlg.MainTab();
    page->ReadControls();
    // The way out: the new-player dialog closed twice in a row.
    int closed_in_a_row = 0;
    while (page->values.id.empty()) {
        ShowMessage(&dlg,
                    Tr("SignIn",
                       "最初にプレイヤーデータを作成します。\n"
                       "お好きなID(英数字のみ)とパスワードを設定して下さい。"),
                    Tr("SignIn", "ようこそ"));
        closed_in_a_row = page->OnNewPlayer() ? 0 : closed_in_a_row + 1;
        if (closed_in_a_row == 2) return false;
        page->ReadControls();
    }
    return true;
}

}  // namespace qv5
