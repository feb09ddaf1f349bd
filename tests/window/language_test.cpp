// Interface language: the captions of the window and its pages.
#include "window/language.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QLabel>
#include <set>

#include "window/controls.h"
#include "window/main_window.h"
#include "window/page.h"
#include "config/config_file.h"
#include "platform/text.h"
#include "support/players.h"
#include "support/scripted_ui.h"
#include "support/temp_game.h"

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
    {kWindow, 1003, u8"QV5の起動", "Play"},
    {kWindow, 1004, u8"終了", "Exit"},
    {kMain, 1003, u8"新規プレイヤーデータ作成", "New player"},
    {kMain, 1004, u8"プレイヤーデータ削除", "Delete player"},
    {kMain, 1006, u8"ウインドウモード", "Window mode"},
    {kMain, 1016, u8"QV4/em用インターネットランキングに参加する", "QV4/EM internet ranking"},
    {kMain, 1018, u8"QV5インターネットランキング(QV5IR)に参加する", "QV5 InternetRanking"},
    {kMain, 1027, u8"曲データベースの再作成", "Reset database"},
    {kMain, 1035, u8"QV5IRトップページに接続", "QV5IR top page"},
    {kMain, 1036, u8"QV5IRマイページに接続", "QV5IR my page"},
    {kMain, 1041, u8"手動のみ(F8で現在選択中のフォルダの更新を行えます)",
     "Manual reload (F8:Update folder/song information)"},
    {kMain, 1042, u8"開いたフォルダに対して自動で行う (フォルダ読み込み時間が少し長くなります)",
     "Auto reload type 1"},
    {kMain, 1043, u8"起動時に全フォルダに対して行う (起動時間が長くなります)",
     "Auto reload type 2"},
    {kMain, 1044, u8"ウインドウサイズ", "Window size"},
    {kMain, 1045, u8"データベース自動更新", "Song reload"},
    {kMain, 1046, u8"IDとパスワードは自由に設定できます。QVemで使用したID/PASSも使用可能です", ""},
    {kMain, 1067, u8"Language", "Language"},
    {kJukebox1, 1006, u8"フォルダを開く", "Open"},
    {kJukebox1, 1035, u8"ルートフォルダ追加", "Add"},
    {kJukebox1, 1036, u8"登録解除", "Delete"},
    {kJukebox1, 1047, u8"曲検索フォルダ", "Jukebox"},
    {kJukebox1, 1048, u8"フォルダをドラッグ・ドロップでルートフォルダに登録できます。",
     "Add song(s) : Drop zip/rar file(s)"},
    {kJukebox1, 1049, u8"また、ZIP/RARファイルをドロップすることにより曲のインストールが行えます。",
     "Add folder(s) : Push add button or drop folder(s)"},
    {kJukebox2, 1050, u8"特殊フォルダ", "Folder customize"},
    {kJukebox2, 1051, u8"検索最大ヒット数", "Max result"},
    {kJukebox2, 1052, u8"(0:無制限)", "(0:No limit)"},
    {kJukebox2, 1053, u8"タイトルのフラッシュ", "New song flash"},
    {kJukebox2, 1054, u8"時間以内に追加した曲", "hour"},
    {kOption, 1006, u8"1/3キーを選曲に割り当てる", "Assign 1/3 key to scroll"},
    {kOption, 1015, u8"システムログの出力(重くなります)", "Output system log"},
    {kOption, 1017, u8"選曲にポプコンを使う", "PM controller"},
    {kOption, 1018, u8"フォルダランプ(曲が多いと非常に重くなります)", "Folder lamp"},
    {kOption, 1019, u8"システムキー(windowsキー等)の無効化", "Disable system keys"},
    {kOption, 1020, u8"画像フォントを無効にする", "User font"},
    {kOption, 1021, u8"スキンセレクトでプレビューを表示しない", "Disable skin preview"},
    {kOption, 1030, u8"暗転中に曲のロードを行う", "Disable parallel loading"},
    {kOption, 1033, u8"瞬殺された/escを押したスコアもIR登録する", "Regist gave up score to IR"},
    {kOption, 1038, u8"上下キーを速度変更に割り当てる", "Assign up/down key to hs change"},
    {kOption, 1039, u8"右クリックで曲を終了させない", "Disable righ click exit"},
    {kOption, 1055, u8"基本スクロールスピード", "Base speed"},
    {kOption, 1056, u8"レーンカバー変化間隔", "Lane cover"},
    {kOption, 1057, u8"最低連打時間(これ以下の連打は無効になります)", "Minimum input interval"},
    {kOption, 1058, u8"選曲リスト速度", "Music list scroll speed"},
    {kOption, 1059, u8"最初", "First"},
    {kOption, 1060, u8"以降", "Next"},
    {kOption, 1061, u8"無効時のフォント", "Font"},
    {kOption, 1069, u8"ミスBGA表示時間", "Miss BGA"},
    {kSelect, 1006, u8"難度フィルタ(normal/hyper/another)を使用しない",
     "Disable difficulty filter"},
    {kSelect, 1015, u8"選曲中プレビューを再生する", "Preview"},
    {kSelect, 1016, u8"選曲バーにサブタイトルを表示しない", "Remove subtitles from song bar"},
    {kSelect, 1017, u8"鍵盤数ALLを使用しない", "Disable playmode \"ALL\""},
    {kSelect, 1018, u8"鍵盤数SINGLE(5+7同時表示)を使用しない", "Disable playmode \"SINGLE(5+7)\""},
    {kSelect, 1019, u8"鍵盤数DOUBLE(10+14同時表示)を使用しない",
     "Disable playmode \"DOUBLE(10+14)\""},
    {kSelect, 1020, u8"DP譜面は無視する", "Ignore 10/14keys"},
    {kSelect, 1021, u8"9ボタン譜面は無視する", "Ignore 9keys"},
    {kSelect, 1029, u8"難度ALLを使用しない", "Disable difficulty \"ALL\""},
    {kSelect, 1030, u8"難度変更の挙動をbeta1のものに戻す", "Beta1-style difficulty change"},
    {kSelect, 1033, u8"7鍵譜面が存在する場合5鍵譜面を無視する", "Ignore 5keys if 7keys exist"},
    {kSelect, 1062,
     u8"これらのオプションはジュークボックスの構成によっては不具合を起こす可能性があります",
     "Musicselect options"},
    {kSelect, 1063, u8"レベルバー最大値", "Maximum level (levelbar)"},
    {kSystem, 1006,
     u8"FMOD Exを使用しない(どうしても発音遅延やノイズが気になるならチェックを入れてください)",
     "Disable FMOD Ex soundsystem"},
    {kSystem, 1015, u8"16bitモードで起動する(フルスクリーンモードのみ)",
     "16bit color (window mode only)"},
    {kSystem, 1016, u8"垂直同期(プレイ中ちらつくなら変えてみてください)", "Wait for vsync"},
    {kSystem, 1017, u8"高精度なタイマーを使用する(基本的に外して下さい)",
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

TEST_F(LanguageTest, EnglishThenJapaneseRestoresEveryCaption) {
    Start(0);
    ExpectCaptions(0);
    Control<QAction>(&dlg, 32778)->trigger();
    ExpectCaptions(1);
    EXPECT_EQ(TheConfig().language, 1);
    EXPECT_TRUE(Control<QLabel>(dlg.PageAt(0), 1046)->text().isEmpty());
    Control<QAction>(&dlg, 32777)->trigger();
    ExpectCaptions(0);
    EXPECT_EQ(TheConfig().language, 0);
    EXPECT_FALSE(Control<QLabel>(dlg.PageAt(0), 1046)->text().isEmpty());
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
        EXPECT_EQ(Control<QAbstractButton>(owner, 1020)->text(),
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
    EXPECT_EQ(Control<QAbstractButton>(dlg.PageAt(0), 1016)->text(), "QV4/EM internet ranking");
    EXPECT_EQ(Control<QAbstractButton>(dlg.PageAt(0), 1027)->text(), "Reset database");
    EXPECT_EQ(Control<QAbstractButton>(dlg.PageAt(3), 1033)->text(), "Regist gave up score to IR");
    EXPECT_FALSE(Control<QAbstractButton>(dlg.PageAt(3), 1033)->isEnabled());
}

}  // namespace
}  // namespace qv5
