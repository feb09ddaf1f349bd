// The whole window in English: every page, the folder tree's menus, every
// dialog and every message of the flows below, with no Japanese outside data.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFontComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTabBar>
#include <QTreeWidgetItem>
#include <map>
#include <string>

#include "config/config_file.h"
#include "library/song_library.h"
#include "platform/text.h"
#include "platform/translation.h"
#include "support/players.h"
#include "support/scripted_ui.h"
#include "support/temp_game.h"
#include "window/common/controls.h"
#include "window/dialogs/play_option_dialog.h"
#include "window/dialogs/tool_settings_dialog.h"
#include "window/main/main_window.h"
#include "window/pages/jukebox_page.h"
#include "window/pages/main_page.h"
#include "window/tables/tables_window.h"
#include "window/tree/folder_tree.h"
#include "window/tree/folder_tree_ids.h"

namespace qv5 {
namespace {

// Kana, CJK ideographs, Japanese punctuation and full-width forms.
bool HasJapanese(const QString& text) {
    for (QChar c : text) {
        const char16_t u = c.unicode();
        if ((u >= 0x3000 && u <= 0x30FF) || (u >= 0x3400 && u <= 0x9FFF) ||
            (u >= 0xFF00 && u <= 0xFFEF))
            return true;
    }
    return false;
}

using Texts = std::map<std::string, QString>;

// Every text a person can read on `top` and the widgets and actions in it,
// keyed by the object and what it is. Font names are data (the system's).
Texts Collect(QWidget* top) {
    Texts out;
    auto add = [&out](const QObject* o, const char* what, const QString& text) {
        if (text.isEmpty()) return;
        out[std::to_string(reinterpret_cast<quintptr>(o)) + " " + o->metaObject()->className() +
            " " + o->objectName().toStdString() + " " + what] = text;
    };
    QList<QObject*> all = top->findChildren<QObject*>();
    all.prepend(top);
    for (QObject* o : all) {
        if (auto* w = qobject_cast<QWidget*>(o)) {
            if (w->isWindow()) add(w, "title", w->windowTitle());
            add(w, "tip", w->toolTip());
        }
        if (auto* l = qobject_cast<QLabel*>(o)) add(l, "text", l->text());
        if (auto* b = qobject_cast<QAbstractButton*>(o)) add(b, "text", b->text());
        if (auto* g = qobject_cast<QGroupBox*>(o)) add(g, "title", g->title());
        if (auto* e = qobject_cast<QLineEdit*>(o)) add(e, "placeholder", e->placeholderText());
        if (auto* m = qobject_cast<QMenu*>(o)) add(m, "title", m->title());
        if (auto* a = qobject_cast<QAction*>(o)) add(a, "text", a->text());
        if (auto* t = qobject_cast<QTabBar*>(o))
            for (int i = 0; i < t->count(); ++i) add(t, std::to_string(i).c_str(), t->tabText(i));
        if (auto* c = qobject_cast<QComboBox*>(o); c && !qobject_cast<QFontComboBox*>(o))
            for (int i = 0; i < c->count(); ++i) add(c, std::to_string(i).c_str(), c->itemText(i));
    }
    return out;
}

// The Language menu names Japanese in its own writing, in either language.
bool IsLanguageName(const QString& text) {
    return text == QString::fromUtf8("日本語");
}

void ExpectEnglish(const Texts& texts, const std::string& where) {
    for (const auto& [key, text] : texts) {
        if (IsLanguageName(text)) continue;
        EXPECT_FALSE(HasJapanese(text)) << where << ": " << key << ": " << text.toStdString();
    }
}

class EnglishWalk : public ::testing::Test {
  protected:
    void SetUp() override {
        game.WriteFile("songs/Album/Song/a.bms", "#TITLE Alpha\r\n#ARTIST x\r\n#00111:0101\r\n");
        game.WriteFile("songs/Album/Song/b.wav", "RIFF");
        game.MakeDir("songs/Album/Empty");
        ConfigRecord c = test::NewPlayerRecord({"songs\\"});
        c.language = language();
        ASSERT_EQ(SaveConfig(c), 1);
        ASSERT_TRUE(window.InitDialog());
        tree = window.JukeboxTab()->Tree();
    }
    void TearDown() override { UseLanguage(0); }
    virtual int language() const { return 1; }

    QTreeWidgetItem* Item(std::initializer_list<const char*> path) {
        QTreeWidgetItem* item = nullptr;
        for (const char* name : path) {
            if (item) {
                tree->OnDoubleClick(item);
                item->setExpanded(true);
            }
            QTreeWidgetItem* next = nullptr;
            const int n = item ? item->childCount() : tree->topLevelItemCount();
            for (int i = 0; i < n && !next; ++i) {
                QTreeWidgetItem* c = item ? item->child(i) : tree->topLevelItem(i);
                if (FolderTree::ItemText(c) == name) next = c;
            }
            EXPECT_TRUE(next) << name;
            if (!next) return nullptr;
            item = next;
        }
        return item;
    }
    void Run(QTreeWidgetItem* item, int command) {
        ASSERT_TRUE(item);
        tree->SetCurrent(item);
        auto* action = Control<QAction>(tree, command);
        ASSERT_TRUE(action) << command;
        action->trigger();
    }
    // A dialog's texts, read while it is up, then cancelled.
    void WalkDialog(const char* name) {
        ui->AnswerDialog([this, name](QDialog& d) {
            dialogs[name] = Collect(&d);
            return int(QDialog::Rejected);
        });
    }

    test::TempGame game;
    test::ScopedScriptedUi ui;
    MainWindow window;
    FolderTree* tree = nullptr;
    std::map<std::string, Texts> dialogs;
};

TEST_F(EnglishWalk, NoJapaneseOnAnyPageMenuDialogOrMessage) {
    // Every page and the folder tree's menus for a root, a folder, a chart
    // and another file: they are children of the window.
    ExpectEnglish(Collect(&window), "window");
    for (const char* menu : {"menu0", "menu1", "menu2", "menu3"}) {
        auto* m = tree->findChild<QMenu*>(QString::fromLatin1(menu));
        ASSERT_TRUE(m) << menu;
        EXPECT_GE(m->actions().size(), 3) << menu;
    }
    // Dialogs, each as its command opens it.
    WalkDialog("tool settings");
    window.JukeboxTab()->OpenToolSettings();
    WalkDialog("play options");
    window.OnPlayOptions();
    WalkDialog("new player");
    static_cast<MainPage*>(window.PageAt(0))->OnNewPlayer();
    // The tables window (its own window, over no tables) and its add dialog.
    TablesWindow* tables = window.OpenTables();
    ExpectEnglish(Collect(tables), "tables window");
    WalkDialog("add table");
    tables->AskToAddTable();
    // Items are looked up again before each command: a command may rebuild
    // the level it ran on.
    const auto root = [this] { return Item({"songs\\"}); };
    const auto folder = [this] { return Item({"songs\\", "Album"}); };
    WalkDialog("tag editor");
    Run(Item({"songs\\", "Album", "Song", "a.bms"}), kCmdChartTags);
    WalkDialog("name");
    Run(folder(), kCmdFolderRename);
    // Messages of the tree's commands and the page's buttons.
    ui->AnswerMessage(MsgAnswer::No);
    window.JukeboxTab()->FullRescan();
    ui->AnswerMessage(MsgAnswer::Ok);
    Run(root(), kCmdRootCut);  // a song folder is never cut
    ui->AnswerMessage(MsgAnswer::No);
    Run(folder(), kCmdFolderDelete);  // delete: the trash question
    ui->AnswerMessage(MsgAnswer::Ok);
    Run(Item({"songs\\", "Album", "Song"}), kCmdFolderHiddenSearch);  // hidden chart search
    ui->AnswerMessage(MsgAnswer::No);
    Run(folder(), kCmdFolderWavToOgg);  // wav -> ogg: the question
    ui->AnswerMessage(MsgAnswer::Ok);
    tree->OnDragRelease(Item({"songs\\", "Album", "Empty"}), root());
    ui->AcceptAllMessages();
    window.JukeboxTab()->FullRescan();

    EXPECT_EQ(dialogs.size(), 6u);
    for (const auto& [name, texts] : dialogs) {
        EXPECT_FALSE(texts.empty()) << name;
        ExpectEnglish(texts, name);
    }
    ASSERT_GE(ui->prompts().size(), 8u);
    for (const test::Prompt& p : ui->prompts()) {
        EXPECT_FALSE(HasJapanese(QString::fromStdString(p.Utf8Text()))) << p.Utf8Text();
        EXPECT_FALSE(HasJapanese(QString::fromStdString(p.Utf8Caption()))) << p.Utf8Caption();
    }
}

class JapaneseWalk : public EnglishWalk {
  protected:
    int language() const override { return 0; }
};

// English from the Language menu re-captions everything open (the pages, the
// tree's menus, the JUKEBOX1 buttons); Japanese gives back every text byte
// for byte.
TEST_F(JapaneseWalk, EnglishAndBackLeavesEveryJapaneseTextAsItWas) {
    window.OpenTables();  // a window of its own, re-captioned with the others
    const Texts japanese = Collect(&window);
    size_t with_japanese = 0;
    for (const auto& [key, text] : japanese) with_japanese += HasJapanese(text);
    EXPECT_GT(with_japanese, 60u);
    window.OnLanguage(1);
    QApplication::processEvents();  // the windows of their own take the change as an event
    const Texts english = Collect(&window);
    ExpectEnglish(english, "after choosing English");
    // The explanation the short English caption leaves out is its tooltip.
    auto* reload = window.PageAt(0)->findChild<QWidget*>(QStringLiteral("1042"));
    ASSERT_TRUE(reload);
    EXPECT_EQ(reload->toolTip().toStdString(),
              "Each folder is updated when it is opened (opening a folder takes a little longer).");
    window.OnLanguage(0);
    QApplication::processEvents();
    EXPECT_EQ(Collect(&window), japanese);
}

}  // namespace
}  // namespace qv5
