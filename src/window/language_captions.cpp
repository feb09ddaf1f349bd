#include "window/language.h"

#include "window/custom_folder_page_ids.h"
#include "window/jukebox_page_ids.h"
#include "window/main_page_ids.h"
#include "window/main_window_ids.h"
#include "window/option_page_ids.h"
#include "window/select_page_ids.h"
#include "window/system_page_ids.h"

namespace qv5 {

const std::vector<Caption>& Captions() {
    static const std::vector<Caption> captions = {
        {-1, main_window_id::kPlay, u8"QV5の起動", "Play"},
        {-1, main_window_id::kExit, u8"終了", "Exit"},
        {0, main_page_id::kNewPlayer, u8"新規プレイヤーデータ作成", "New player"},
        {0, main_page_id::kDeletePlayer, u8"プレイヤーデータ削除", "Delete player"},
        {0, main_page_id::kWindowMode, u8"ウインドウモード", "Window mode"},
        {0, main_page_id::kQv4Ir, u8"QV4/em用インターネットランキングに参加する", "QV4/EM internet ranking"},
        {0, main_page_id::kQv5Ir, u8"QV5インターネットランキング(QV5IR)に参加する", "QV5 InternetRanking"},
        {0, main_page_id::kResetDatabase, u8"曲データベースの再作成", "Reset database"},
        {0, main_page_id::kTopPage, u8"QV5IRトップページに接続", "QV5IR top page"},
        {0, main_page_id::kMyPage, u8"QV5IRマイページに接続", "QV5IR my page"},
        {0, main_page_id::kReloadManual, u8"手動のみ(F8で現在選択中のフォルダの更新を行えます)",
         "Manual reload (F8:Update folder/song information)"},
        {0, main_page_id::kReloadOpened, u8"開いたフォルダに対して自動で行う (フォルダ読み込み時間が少し長くなります)",
         "Auto reload type 1"},
        {0, main_page_id::kReloadAtStart, u8"起動時に全フォルダに対して行う (起動時間が長くなります)",
         "Auto reload type 2"},
        {0, main_page_id::kWindowSizeLabel, u8"ウインドウサイズ", "Window size"},
        {0, main_page_id::kReloadLabel, u8"データベース自動更新", "Song reload"},
        {0, main_page_id::kIdNote, u8"IDとパスワードは自由に設定できます。QVemで使用したID/PASSも使用可能です", ""},
        {0, main_page_id::kLanguageLabel, u8"Language", "Language"},
        {1, jukebox_page_id::kRemovedOpenFolder, u8"フォルダを開く", "Open"},
        {1, jukebox_page_id::kAddRoot, u8"ルートフォルダ追加", "Add"},
        {1, jukebox_page_id::kRemovedUnregister, u8"登録解除", "Delete"},
        {1, jukebox_page_id::kSongFoldersLabel, u8"曲検索フォルダ", "Jukebox"},
        {1, jukebox_page_id::kTreeHint, u8"フォルダをドラッグ・ドロップでルートフォルダに登録できます。",
         "Add song(s) : Drop zip/rar file(s)"},
        {1, jukebox_page_id::kDropHint, u8"また、ZIP/RARファイルをドロップすることにより曲のインストールが行えます。",
         "Add folder(s) : Push add button or drop folder(s)"},
        {2, custom_folder_page_id::kFoldersLabel, u8"特殊フォルダ", "Folder customize"},
        {2, custom_folder_page_id::kSearchMaxLabel, u8"検索最大ヒット数", "Max result"},
        {2, custom_folder_page_id::kSearchMaxNote, u8"(0:無制限)", "(0:No limit)"},
        {2, custom_folder_page_id::kTitleFlashLabel, u8"タイトルのフラッシュ", "New song flash"},
        {2, custom_folder_page_id::kTitleFlashUnit, u8"時間以内に追加した曲", "hour"},
        {3, option_page_id::kButtonSelect, u8"1/3キーを選曲に割り当てる", "Assign 1/3 key to scroll"},
        {3, option_page_id::kOutputLog, u8"システムログの出力(重くなります)", "Output system log"},
        {3, option_page_id::kControl, u8"選曲にポプコンを使う", "PM controller"},
        {3, option_page_id::kFolderLamp, u8"フォルダランプ(曲が多いと非常に重くなります)", "Folder lamp"},
        {3, option_page_id::kDisableSystemKey, u8"システムキー(windowsキー等)の無効化", "Disable system keys"},
        {3, option_page_id::kDisableImageFont, u8"画像フォントを無効にする", "User font"},
        {3, option_page_id::kDisableSkinPreview, u8"スキンセレクトでプレビューを表示しない", "Disable skin preview"},
        {3, option_page_id::kDisableBmsThread, u8"暗転中に曲のロードを行う", "Disable parallel loading"},
        {3, option_page_id::kGomiScore, u8"瞬殺された/escを押したスコアもIR登録する", "Regist gave up score to IR"},
        {3, option_page_id::kDisableCurSpeedChange, u8"上下キーを速度変更に割り当てる", "Assign up/down key to hs change"},
        {3, option_page_id::kDisableLeftClickExit, u8"右クリックで曲を終了させない", "Disable righ click exit"},
        {3, option_page_id::kBaseSpeedLabel, u8"基本スクロールスピード", "Base speed"},
        {3, option_page_id::kShutterMarginLabel, u8"レーンカバー変化間隔", "Lane cover"},
        {3, option_page_id::kInputIntervalLabel, u8"最低連打時間(これ以下の連打は無効になります)", "Minimum input interval"},
        {3, option_page_id::kListSpeedLabel, u8"選曲リスト速度", "Music list scroll speed"},
        {3, option_page_id::kSpeedFirstLabel, u8"最初", "First"},
        {3, option_page_id::kSpeedNextLabel, u8"以降", "Next"},
        {3, option_page_id::kFontNameLabel, u8"無効時のフォント", "Font"},
        {3, option_page_id::kPoorBgaLabel, u8"ミスBGA表示時間", "Miss BGA"},
        {4, select_page_id::kDisableDifficultyFilter, u8"難度フィルタ(normal/hyper/another)を使用しない", "Disable difficulty filter"},
        {4, select_page_id::kPreview, u8"選曲中プレビューを再生する", "Preview"},
        {4, select_page_id::kDisableSubtitle, u8"選曲バーにサブタイトルを表示しない", "Remove subtitles from song bar"},
        {4, select_page_id::kIgnoreKeyAll, u8"鍵盤数ALLを使用しない", "Disable playmode \"ALL\""},
        {4, select_page_id::kIgnoreKeySingle, u8"鍵盤数SINGLE(5+7同時表示)を使用しない", "Disable playmode \"SINGLE(5+7)\""},
        {4, select_page_id::kIgnoreKeyDouble, u8"鍵盤数DOUBLE(10+14同時表示)を使用しない",
         "Disable playmode \"DOUBLE(10+14)\""},
        {4, select_page_id::kIgnoreDp, u8"DP譜面は無視する", "Ignore 10/14keys"},
        {4, select_page_id::kIgnorePms, u8"9ボタン譜面は無視する", "Ignore 9keys"},
        {4, select_page_id::kIgnoreDifficultyAll, u8"難度ALLを使用しない", "Disable difficulty \"ALL\""},
        {4, select_page_id::kDifficultyChangeType, u8"難度変更の挙動をbeta1のものに戻す", "Beta1-style difficulty change"},
        {4, select_page_id::kIgnore5Key, u8"7鍵譜面が存在する場合5鍵譜面を無視する", "Ignore 5keys if 7keys exist"},
        {4, select_page_id::kFilterNote,
         u8"これらのオプションはジュークボックスの構成によっては不具合を起こす可能性があります",
         "Musicselect options"},
        {4, select_page_id::kLevelBarLabel, u8"レベルバー最大値", "Maximum level (levelbar)"},
        {5, system_page_id::kDisableFmod,
         u8"FMOD Exを使用しない(どうしても発音遅延やノイズが気になるならチェックを入れてください)",
         "Disable FMOD Ex soundsystem"},
        {5, system_page_id::kHighColor, u8"16bitモードで起動する(フルスクリーンモードのみ)",
         "16bit color (window mode only)"},
        {5, system_page_id::kVsync, u8"垂直同期(プレイ中ちらつくなら変えてみてください)", "Wait for vsync"},
        {5, system_page_id::kHpTimer, u8"高精度なタイマーを使用する(基本的に外して下さい)",
         "Use high performance timer (not recommended)"},
    };
    return captions;
}

}  // namespace qv5
