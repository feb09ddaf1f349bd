// Interface language: the captions of the window and its pages.
#include "window/main/language.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QLabel>
#include <set>

#include "config/config_file.h"
#include "platform/text.h"
#include "platform/tr.h"
#include "platform/translation.h"
#include "support/players.h"
#include "support/scripted_ui.h"
#include "support/temp_game.h"
#include "window/common/controls.h"
#include "window/main/main_window.h"
#include "window/main/main_window_ids.h"
#include "window/pages/custom_folder_page_ids.h"
#include "window/pages/jukebox_page_ids.h"
#include "window/pages/main_page_ids.h"
#include "window/pages/option_page_ids.h"
#include "window/pages/page.h"
#include "window/pages/select_page_ids.h"
#include "window/pages/system_page_ids.h"

namespace qv5 {
namespace {

// Pages by tab index; the main window's own buttons have none.
constexpr int kWindow = -1, kMain = 0, kJukebox1 = 1, kJukebox2 = 2, kOption = 3, kSelect = 4,
              kSystem = 5;

// What each captioned control must show, written out here rather than taken
// from the program's table, so that a wrong caption there is caught.
struct Expected {
    int page;
    int control;
    const char8_t* japanese;
    const char* english;
};
const Expected kExpected[] = {
    {kWindow, main_window_id::kPlay, u8"QV5の起動", "Play"},
    {kWindow, main_window_id::kExit, u8"終了", "Exit"},
    {kMain, main_page_id::kNewPlayer, u8"新規プレイヤーデータ作成", "New player"},
    {kMain, main_page_id::kDeletePlayer, u8"プレイヤーデータ削除", "Delete player"},
    {kMain, main_page_id::kWindowMode, u8"ウインドウモード", "Window mode"},
    {kMain, main_page_id::kQv4Ir, u8"QV4/em用インターネットランキングに参加する",
     "QV4/EM internet ranking"},
    {kMain, main_page_id::kQv5Ir, u8"QV5インターネットランキング(QV5IR)に参加する",
     "QV5 InternetRanking"},
    {kMain, main_page_id::kResetDatabase, u8"曲データベースの再作成", "Reset database"},
    {kMain, main_page_id::kTopPage, u8"QV5IRトップページに接続", "QV5IR top page"},
    {kMain, main_page_id::kMyPage, u8"QV5IRマイページに接続", "QV5IR my page"},
    {kMain, main_page_id::kReloadManual, u8"手動のみ(F8で現在選択中のフォルダの更新を行えます)",
     "Manual reload (F8:Update folder/song information)"},
    {kMain, main_page_id::kReloadOpened,
     u8"開いたフォルダに対して自動で行う (フォルダ読み込み時間が少し長くなります)",
     "Auto reload type 1"},
    {kMain, main_page_id::kReloadAtStart,
     u8"起動時に全フォルダに対して行う (起動時間が長くなります)", "Auto reload type 2"},
    {kMain, main_page_id::kWindowSizeLabel, u8"ウインドウサイズ", "Window size"},
    {kMain, main_page_id::kReloadLabel, u8"データベース自動更新", "Song reload"},
    {kMain, main_page_id::kIdNote,
     u8"IDとパスワードは自由に設定できます。QVemで使用したID/PASSも使用可能です", ""},
    {kMain, main_page_id::kLanguageLabel, u8"Language", "Language"},
    {kJukebox1, jukebox_page_id::kRemovedOpenFolder, u8"フォルダを開く", "Open"},
    {kJukebox1, jukebox_page_id::kAddRoot, u8"ルートフォルダ追加", "Add"},
    {kJukebox1, jukebox_page_id::kRemovedUnregister, u8"登録解除", "Delete"},
    {kJukebox1, jukebox_page_id::kSongFoldersLabel, u8"曲検索フォルダ", "Jukebox"},
    {kJukebox1, jukebox_page_id::kTreeHint,
     u8"フォルダをドラッグ・ドロップでルートフォルダに登録できます。",
     "Add song(s) : Drop zip/rar file(s)"},
    {kJukebox1, jukebox_page_id::kDropHint,
     u8"また、ZIP/RARファイルをドロップすることにより曲のインストールが行えます。",
     "Add folder(s) : Push add button or drop folder(s)"},
    {kJukebox2, custom_folder_page_id::kFoldersLabel, u8"特殊フォルダ", "Folder customize"},
    {kJukebox2, custom_folder_page_id::kSearchMaxLabel, u8"検索最大ヒット数", "Max result"},
    {kJukebox2, custom_folder_page_id::kSearchMaxNote, u8"(0:無制限)", "(0:No limit)"},
    {kJukebox2, custom_folder_page_id::kTitleFlashLabel, u8"タイトルのフラッシュ",
     "New song flash"},
    {kJukebox2, custom_folder_page_id::kTitleFlashUnit, u8"時間以内に追加した曲", "hour"},
    {kOption, option_page_id::kButtonSelect, u8"1/3キーを選曲に割り当てる",
     "Assign 1/3 key to scroll"},
    {kOption, option_page_id::kOutputLog, u8"システムログの出力(重くなります)",
     "Output system log"},
    {kOption, option_page_id::kControl, u8"選曲にポプコンを使う", "PM controller"},
    {kOption, option_page_id::kFolderLamp, u8"フォルダランプ(曲が多いと非常に重くなります)",
     "Folder lamp"},
    {kOption, option_page_id::kDisableSystemKey, u8"システムキー(windowsキー等)の無効化",
     "Disable system keys"},
    {kOption, option_page_id::kDisableImageFont, u8"画像フォントを無効にする", "User font"},
    {kOption, option_page_id::kDisableSkinPreview, u8"スキンセレクトでプレビューを表示しない",
     "Disable skin preview"},
    {kOption, option_page_id::kDisableBmsThread, u8"暗転中に曲のロードを行う",
     "Disable parallel loading"},
    {kOption, option_page_id::kGomiScore, u8"瞬殺された/escを押したスコアもIR登録する",
     "Regist gave up score to IR"},
    {kOption, option_page_id::kDisableCurSpeedChange, u8"上下キーを速度変更に割り当てる",
     "Assign up/down key to hs change"},
    {kOption, option_page_id::kDisableLeftClickExit, u8"右クリックで曲を終了させない",
     "Disable righ click exit"},
    {kOption, option_page_id::kBaseSpeedLabel, u8"基本スクロールスピード", "Base speed"},
    {kOption, option_page_id::kShutterMarginLabel, u8"レーンカバー変化間隔", "Lane cover"},
    {kOption, option_page_id::kInputIntervalLabel, u8"最低連打時間(これ以下の連打は無効になります)",
     "Minimum input interval"},
    {kOption, option_page_id::kListSpeedLabel, u8"選曲リスト速度", "Music list scroll speed"},
    {kOption, option_page_id::kSpeedFirstLabel, u8"最初", "First"},
    {kOption, option_page_id::kSpeedNextLabel, u8"以降", "Next"},
    {kOption, option_page_id::kFontNameLabel, u8"無効時のフォント", "Font"},
    {kOption, option_page_id::kPoorBgaLabel, u8"ミスBGA表示時間", "Miss BGA"},
    {kSelect, select_page_id::kDisableDifficultyFilter,
     u8"難度フィルタ(normal/hyper/another)を使用しない", "Disable difficulty filter"},
    {kSelect, select_page_id::kPreview, u8"選曲中プレビューを再生する", "Preview"},
    {kSelect, select_page_id::kDisableSubtitle, u8"選曲バーにサブタイトルを表示しない",
     "Remove subtitles from song bar"},
    {kSelect, select_page_id::kIgnoreKeyAll, u8"鍵盤数ALLを使用しない", "Disable playmode \"ALL\""},
    {kSelect, select_page_id::kIgnoreKeySingle, u8"鍵盤数SINGLE(5+7同時表示)を使用しない",
     "Disable playmode \"SINGLE(5+7)\""},
    {kSelect, select_page_id::kIgnoreKeyDouble, u8"鍵盤数DOUBLE(10+14同時表示)を使用しない",
     "Disable playmode \"DOUBLE(10+14)\""},
    {kSelect, select_page_id::kIgnoreDp, u8"DP譜面は無視する", "Ignore 10/14keys"},
    {kSelect, select_page_id::kIgnorePms, u8"9ボタン譜面は無視する", "Ignore 9keys"},
    {kSelect, select_page_id::kIgnoreDifficultyAll, u8"難度ALLを使用しない",
     "Disable difficulty \"ALL\""},
    {kSelect, select_page_id::kDifficultyChangeType, u8"難度変更の挙動をbeta1のものに戻す",
     "Beta1-style difficulty change"},
    {kSelect, select_page_id::kIgnore5Key, u8"7鍵譜面が存在する場合5鍵譜面を無視する",
     "Ignore 5keys if 7keys exist"},
    {kSelect, select_page_id::kFilterNote,
     u8"これらのオプションはジュークボックスの構成によっては不具合を起こす可能性があります",
     "Musicselect options"},
    {kSelect, select_page_id::kLevelBarLabel, u8"レベルバー最大値", "Maximum level (levelbar)"},
    {kSystem, system_page_id::kDisableFmod,
     u8"FMOD Exを使用しない(どうしても発音遅延やノイズが気になるならチェックを入れてください)",
     "Disable FMOD Ex soundsystem"},
    {kSystem, system_page_id::kHighColor, u8"16bitモードで起動する(フルスクリーンモードのみ)",
     "16bit color (window mode only)"},
    {kSystem, system_page_id::kVsync, u8"垂直同期(プレイ中ちらつくなら変えてみてください)",
     "Wait for vsync"},
    {kSystem, system_page_id::kHpTimer, u8"高精度なタイマーを使用する(基本的に外して下さい)",
     "Use high performance timer (not recommended)"},
};

class LanguageTest : public ::testing::Test {
  protected:
    void SetUp() override {
        TheConfig() = ConfigRecord{};
        test::MakePlayer("player", "pass");
    }
    void Start(int language) {
        game.WriteFile("QV5files/Config/config.xml",
                       "<config><system><language>" + std::to_string(language) +
                           "</language></system><player><id>player</id><pass>pass</pass>"
                           "</player><jukebox><path>songs\\</path></jukebox></config>");
        dlg.InitDialog();
    }
    QString Shown(const Expected& c) {
        QObject* owner = c.page == kWindow ? static_cast<QObject*>(&dlg) : dlg.PageAt(c.page);
        QWidget* w = Control(owner, c.control, c.page == kWindow);
        if (auto* b = qobject_cast<QAbstractButton*>(w)) return b->text();
        if (auto* l = qobject_cast<QLabel*>(w)) return l->text();
        ADD_FAILURE() << "no caption control " << c.page << "/" << c.control;
        return QStringLiteral("<none>");
    }
    void ExpectCaptions(int language) {
        for (const Expected& c : kExpected) {
            const std::string expected =
                language == 1 ? c.english : reinterpret_cast<const char*>(c.japanese);
            EXPECT_EQ(Shown(c).toStdString(), expected) << c.page << "/" << c.control;
        }
    }
    test::TempGame game;
    test::ScopedScriptedUi ui;
    MainWindow dlg;
};

// The program's table captions these 64 controls and no others.
TEST_F(LanguageTest, TheTableHoldsSixtyFourDistinctControls) {
    std::set<std::pair<int, int>> seen, expected;
    for (const Caption& c : Captions()) EXPECT_TRUE(seen.insert({c.page, c.control}).second);
    for (const Expected& c : kExpected) expected.insert({c.page, c.control});
    EXPECT_EQ(Captions().size(), 64u);
    EXPECT_EQ(expected.size(), 64u);
    EXPECT_EQ(seen, expected);
}

// Each caption the table gives to the catalogue finds its English there (one
// whose English is its Japanese, "Language", would not show a missing entry
// on screen), and the note the English window leaves empty has none.
TEST_F(LanguageTest, EveryCaptionOfTheTableHasItsEnglishInTheCatalogue) {
    UseLanguage(1);
    const Catalogue catalogue = CurrentCatalogue();
    ASSERT_TRUE(catalogue);
    for (const Caption& c : Captions())
        EXPECT_EQ(catalogue(kCaptionContext, c.japanese, -1).empty(), c.japanese_only)
            << c.page << "/" << c.control << " " << c.japanese;
    UseLanguage(0);
}

TEST_F(LanguageTest, EnglishThenJapaneseRestoresEveryCaption) {
    Start(0);
    ExpectCaptions(0);
    Control<QAction>(&dlg, main_window_id::kMenuEnglish)->trigger();
    ExpectCaptions(1);
    EXPECT_EQ(TheConfig().language, 1);
    EXPECT_TRUE(Control<QLabel>(dlg.PageAt(0), main_page_id::kIdNote)->text().isEmpty());
    Control<QAction>(&dlg, main_window_id::kMenuJapanese)->trigger();
    ExpectCaptions(0);
    EXPECT_EQ(TheConfig().language, 0);
    EXPECT_FALSE(Control<QLabel>(dlg.PageAt(0), main_page_id::kIdNote)->text().isEmpty());
}

TEST_F(LanguageTest, StartUpAppliesTheConfiguredLanguage) {
    struct Case {
        int stored, shown, saved;
    } cases[] = {{1, 1, 1}, {2, 0, 2}, {-1, 0, -1}, {0, 0, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored);
        TheConfig() = ConfigRecord{};
        game.WriteFile("QV5files/Config/config.xml",
                       "<config><system><language>" + std::to_string(c.stored) +
                           "</language></system><player><id>player</id><pass>pass</pass>"
                           "</player><jukebox><path>songs\\</path></jukebox></config>");
        MainWindow window;
        window.InitDialog();
        QObject* owner = window.PageAt(3);
        EXPECT_EQ(Control<QAbstractButton>(owner, option_page_id::kDisableImageFont)->text(),
                  c.shown == 1 ? QStringLiteral("User font")
                               : QString::fromUtf8(u8"画像フォントを無効にする"));
        ASSERT_EQ(window.ApplySettings(), 1);
        ConfigRecord back;
        LoadConfig(back);
        EXPECT_EQ(back.language, c.saved);
    }
}

TEST_F(LanguageTest, HiddenAndDisabledControlsGetTheirCaptionsToo) {
    Start(1);
    EXPECT_EQ(Control<QAbstractButton>(dlg.PageAt(0), main_page_id::kQv4Ir)->text(),
              "QV4/EM internet ranking");
    EXPECT_EQ(Control<QAbstractButton>(dlg.PageAt(0), main_page_id::kResetDatabase)->text(),
              "Reset database");
    EXPECT_EQ(Control<QAbstractButton>(dlg.PageAt(3), option_page_id::kGomiScore)->text(),
              "Regist gave up score to IR");
    EXPECT_FALSE(Control<QAbstractButton>(dlg.PageAt(3), option_page_id::kGomiScore)->isEnabled());
}

}  // namespace
}  // namespace qv5
