#include "window/main/language.h"

#include <QAbstractButton>
#include <QLabel>

#include "platform/translation.h"
#include "window/common/controls.h"
#include "window/common/recaption.h"
#include "window/main/main_window.h"
#include "window/pages/main_page_ids.h"
#include "window/pages/option_page_ids.h"
#include "window/pages/page.h"
#include "window/pages/select_page_ids.h"
#include "window/pages/system_page_ids.h"

namespace qv5 {

namespace {

// Where an English caption leaves out the explanation its Japanese carries,
// the English tooltip gives it; the key is the Japanese caption. Japanese
// shows none (its caption says it all).
struct Tip {
    int page;
    int control;
    const char* japanese;
};
const Tip kTips[] = {
    {0, main_page_id::kReloadManual,
     QT_TRANSLATE_NOOP("PageTips", "手動のみ(F8で現在選択中のフォルダの更新を行えます)")},
    {0, main_page_id::kReloadOpened,
     QT_TRANSLATE_NOOP(
         "PageTips", "開いたフォルダに対して自動で行う (フォルダ読み込み時間が少し長くなります)")},
    {0, main_page_id::kReloadAtStart,
     QT_TRANSLATE_NOOP("PageTips", "起動時に全フォルダに対して行う (起動時間が長くなります)")},
    {3, option_page_id::kOutputLog,
     QT_TRANSLATE_NOOP("PageTips", "システムログの出力(重くなります)")},
    {3, option_page_id::kFolderLamp,
     QT_TRANSLATE_NOOP("PageTips", "フォルダランプ(曲が多いと非常に重くなります)")},
    {3, option_page_id::kInputIntervalLabel,
     QT_TRANSLATE_NOOP("PageTips", "最低連打時間(これ以下の連打は無効になります)")},
    {4, select_page_id::kFilterNote,
     QT_TRANSLATE_NOOP(
         "PageTips",
         "これらのオプションはジュークボックスの構成によっては不具合を起こす可能性があります")},
    {5, system_page_id::kDisableFmod,
     QT_TRANSLATE_NOOP(
         "PageTips",
         "FMOD Exを使用しない(どうしても発音遅延やノイズが気になるならチェックを入れてください)")},
    {5, system_page_id::kVsync,
     QT_TRANSLATE_NOOP("PageTips", "垂直同期(プレイ中ちらつくなら変えてみてください)")},
};

}  // namespace

void MainWindow::ApplyLanguage(int language) {
    MainWindow& dlg = *this;
    UseLanguage(language);
    RecaptionAll();
    dlg.SetMenuCaptions();
    for (const Caption& c : Captions()) {
        QObject* owner = c.page < 0 ? static_cast<QObject*>(&dlg) : dlg.PageAt(c.page);
        const QString text =
            c.japanese_only && language == 1 ? QString() : QTr(kCaptionContext, c.japanese);
        // The main window's own buttons are found among its direct children only.
        auto options = c.page < 0 ? Qt::FindDirectChildrenOnly : Qt::FindChildrenRecursively;
        QWidget* w = owner->findChild<QWidget*>(QString::number(c.control), options);
        if (auto* b = qobject_cast<QAbstractButton*>(w))
            b->setText(text);
        else if (auto* l = qobject_cast<QLabel*>(w))
            l->setText(text);
    }
    for (const Tip& t : kTips) {
        QWidget* w = dlg.PageAt(t.page)->findChild<QWidget*>(QString::number(t.control));
        if (w) w->setToolTip(language == 1 ? QTr("PageTips", t.japanese) : QString());
    }
}

}  // namespace qv5
