#include "platform/tr.h"
#include "window/main/language.h"
#include "window/main/main_window_ids.h"
#include "window/pages/custom_folder_page_ids.h"
#include "window/pages/jukebox_page_ids.h"
#include "window/pages/main_page_ids.h"
#include "window/pages/option_page_ids.h"
#include "window/pages/select_page_ids.h"
#include "window/pages/system_page_ids.h"

namespace qv5 {

// The Japanese captions are the program's own texts, byte for byte; their
// English is in translations/qv5_en.ts under "Captions" (kCaptionContext:
// lupdate reads only a literal context here).
const std::vector<Caption>& Captions() {
    static const std::vector<Caption> captions = {
        {-1, main_window_id::kPlay, QT_TRANSLATE_NOOP("Captions", "QV5の起動")},
        {-1, main_window_id::kExit, QT_TRANSLATE_NOOP("Captions", "終了")},
        {0, main_page_id::kNewPlayer, QT_TRANSLATE_NOOP("Captions", "新規プレイヤーデータ作成")},
        {0, main_page_id::kDeletePlayer, QT_TRANSLATE_NOOP("Captions", "プレイヤーデータ削除")},
        {0, main_page_id::kWindowMode, QT_TRANSLATE_NOOP("Captions", "ウインドウモード")},
        {0, main_page_id::kQv4Ir,
         QT_TRANSLATE_NOOP("Captions", "QV4/em用インターネットランキングに参加する")},
        {0, main_page_id::kQv5Ir,
         QT_TRANSLATE_NOOP("Captions", "QV5インターネットランキング(QV5IR)に参加する")},
        {0, main_page_id::kResetDatabase, QT_TRANSLATE_NOOP("Captions", "曲データベースの再作成")},
        {0, main_page_id::kTopPage, QT_TRANSLATE_NOOP("Captions", "QV5IRトップページに接続")},
        {0, main_page_id::kMyPage, QT_TRANSLATE_NOOP("Captions", "QV5IRマイページに接続")},
        {0, main_page_id::kReloadManual,
         QT_TRANSLATE_NOOP("Captions", "手動のみ(F8で現在選択中のフォルダの更新を行えます)")},
        {0, main_page_id::kReloadOpened,
         QT_TRANSLATE_NOOP(
             "Captions",
             "開いたフォルダに対して自動で行う (フォルダ読み込み時間が少し長くなります)")},
        {0, main_page_id::kReloadAtStart,
         QT_TRANSLATE_NOOP("Captions", "起動時に全フォルダに対して行う (起動時間が長くなります)")},
        {0, main_page_id::kWindowSizeLabel, QT_TRANSLATE_NOOP("Captions", "ウインドウサイズ")},
        {0, main_page_id::kReloadLabel, QT_TRANSLATE_NOOP("Captions", "データベース自動更新")},
        {0, main_page_id::kIdNote,
         "IDとパスワードは自由に設定できます。QVemで使用したID/PASSも使用可能です", true},
        {0, main_page_id::kLanguageLabel, QT_TRANSLATE_NOOP("Captions", "Language")},
        {1, jukebox_page_id::kRemovedOpenFolder, QT_TRANSLATE_NOOP("Captions", "フォルダを開く")},
        {1, jukebox_page_id::kAddRoot, QT_TRANSLATE_NOOP("Captions", "ルートフォルダ追加")},
        {1, jukebox_page_id::kRemovedUnregister, QT_TRANSLATE_NOOP("Captions", "登録解除")},
        {1, jukebox_page_id::kSongFoldersLabel, QT_TRANSLATE_NOOP("Captions", "曲検索フォルダ")},
        {1, jukebox_page_id::kTreeHint,
         QT_TRANSLATE_NOOP("Captions",
                           "フォルダをドラッグ・ドロップでルートフォルダに登録できます。")},
        {1, jukebox_page_id::kDropHint,
         QT_TRANSLATE_NOOP(
             "Captions",
             "また、ZIP/RARファイルをドロップすることにより曲のインストールが行えます。")},
        {2, custom_folder_page_id::kFoldersLabel, QT_TRANSLATE_NOOP("Captions", "特殊フォルダ")},
        {2, custom_folder_page_id::kSearchMaxLabel,
         QT_TRANSLATE_NOOP("Captions", "検索最大ヒット数")},
        {2, custom_folder_page_id::kSearchMaxNote, QT_TRANSLATE_NOOP("Captions", "(0:無制限)")},
        {2, custom_folder_page_id::kTitleFlashLabel,
         QT_TRANSLATE_NOOP("Captions", "タイトルのフラッシュ")},
        {2, custom_folder_page_id::kTitleFlashUnit,
         QT_TRANSLATE_NOOP("Captions", "時間以内に追加した曲")},
        {3, option_page_id::kButtonSelect,
         QT_TRANSLATE_NOOP("Captions", "1/3キーを選曲に割り当てる")},
        {3, option_page_id::kOutputLog,
         QT_TRANSLATE_NOOP("Captions", "システムログの出力(重くなります)")},
        {3, option_page_id::kControl, QT_TRANSLATE_NOOP("Captions", "選曲にポプコンを使う")},
        {3, option_page_id::kFolderLamp,
         QT_TRANSLATE_NOOP("Captions", "フォルダランプ(曲が多いと非常に重くなります)")},
        {3, option_page_id::kDisableSystemKey,
         QT_TRANSLATE_NOOP("Captions", "システムキー(windowsキー等)の無効化")},
        {3, option_page_id::kDisableImageFont,
         QT_TRANSLATE_NOOP("Captions", "画像フォントを無効にする")},
        {3, option_page_id::kDisableSkinPreview,
         QT_TRANSLATE_NOOP("Captions", "スキンセレクトでプレビューを表示しない")},
        {3, option_page_id::kDisableBmsThread,
         QT_TRANSLATE_NOOP("Captions", "暗転中に曲のロードを行う")},
        {3, option_page_id::kGomiScore,
         QT_TRANSLATE_NOOP("Captions", "瞬殺された/escを押したスコアもIR登録する")},
        {3, option_page_id::kDisableCurSpeedChange,
         QT_TRANSLATE_NOOP("Captions", "上下キーを速度変更に割り当てる")},
        {3, option_page_id::kDisableLeftClickExit,
         QT_TRANSLATE_NOOP("Captions", "右クリックで曲を終了させない")},
        {3, option_page_id::kBaseSpeedLabel,
         QT_TRANSLATE_NOOP("Captions", "基本スクロールスピード")},
        {3, option_page_id::kShutterMarginLabel,
         QT_TRANSLATE_NOOP("Captions", "レーンカバー変化間隔")},
        {3, option_page_id::kInputIntervalLabel,
         QT_TRANSLATE_NOOP("Captions", "最低連打時間(これ以下の連打は無効になります)")},
        {3, option_page_id::kListSpeedLabel, QT_TRANSLATE_NOOP("Captions", "選曲リスト速度")},
        {3, option_page_id::kSpeedFirstLabel, QT_TRANSLATE_NOOP("Captions", "最初")},
        {3, option_page_id::kSpeedNextLabel, QT_TRANSLATE_NOOP("Captions", "以降")},
        {3, option_page_id::kFontNameLabel, QT_TRANSLATE_NOOP("Captions", "無効時のフォント")},
        {3, option_page_id::kPoorBgaLabel, QT_TRANSLATE_NOOP("Captions", "ミスBGA表示時間")},
        {4, select_page_id::kDisableDifficultyFilter,
         QT_TRANSLATE_NOOP("Captions", "難度フィルタ(normal/hyper/another)を使用しない")},
        {4, select_page_id::kPreview, QT_TRANSLATE_NOOP("Captions", "選曲中プレビューを再生する")},
        {4, select_page_id::kDisableSubtitle,
         QT_TRANSLATE_NOOP("Captions", "選曲バーにサブタイトルを表示しない")},
        {4, select_page_id::kIgnoreKeyAll, QT_TRANSLATE_NOOP("Captions", "鍵盤数ALLを使用しない")},
        {4, select_page_id::kIgnoreKeySingle,
         QT_TRANSLATE_NOOP("Captions", "鍵盤数SINGLE(5+7同時表示)を使用しない")},
        {4, select_page_id::kIgnoreKeyDouble,
         QT_TRANSLATE_NOOP("Captions", "鍵盤数DOUBLE(10+14同時表示)を使用しない")},
        {4, select_page_id::kIgnoreDp, QT_TRANSLATE_NOOP("Captions", "DP譜面は無視する")},
        {4, select_page_id::kIgnorePms, QT_TRANSLATE_NOOP("Captions", "9ボタン譜面は無視する")},
        {4, select_page_id::kIgnoreDifficultyAll,
         QT_TRANSLATE_NOOP("Captions", "難度ALLを使用しない")},
        {4, select_page_id::kDifficultyChangeType,
         QT_TRANSLATE_NOOP("Captions", "難度変更の挙動をbeta1のものに戻す")},
        {4, select_page_id::kIgnore5Key,
         QT_TRANSLATE_NOOP("Captions", "7鍵譜面が存在する場合5鍵譜面を無視する")},
        {4, select_page_id::kFilterNote,
         QT_TRANSLATE_NOOP(
             "Captions",
             "これらのオプションはジュークボックスの構成によっては不具合を起こす可能性があります")},
        {4, select_page_id::kLevelBarLabel, QT_TRANSLATE_NOOP("Captions", "レベルバー最大値")},
        {5, system_page_id::kDisableFmod,
         QT_TRANSLATE_NOOP(
             "Captions",
             "FMOD "
             "Exを使用しない(どうしても発音遅延やノイズが気になるならチェックを入れてください)")},
        {5, system_page_id::kHighColor,
         QT_TRANSLATE_NOOP("Captions", "16bitモードで起動する(フルスクリーンモードのみ)")},
        {5, system_page_id::kVsync,
         QT_TRANSLATE_NOOP("Captions", "垂直同期(プレイ中ちらつくなら変えてみてください)")},
        {5, system_page_id::kHpTimer,
         QT_TRANSLATE_NOOP("Captions", "高精度なタイマーを使用する(基本的に外して下さい)")},
    };
    return captions;
}

}  // namespace qv5
