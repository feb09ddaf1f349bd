// A temporary game folder with a player, its song library open, and the
// JUKEBOX1 page on it; the person at the screen is scripted.
#pragma once

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/stat.h>

#include <QDialog>
#include <QLineEdit>
#include <QTreeWidgetItem>
#include <algorithm>
#include <initializer_list>
#include <string>
#include <vector>

#include "library/song_library.h"
#include "platform/text.h"
#include "support/library_rows.h"
#include "support/players.h"
#include "support/scripted_ui.h"
#include "support/temp_game.h"
#include "support/test_library.h"
#include "window/common/controls.h"
#include "window/dialogs/name_dialog_ids.h"
#include "window/pages/jukebox_page.h"
#include "window/tree/folder_tree.h"

namespace qv5::test {

inline std::string U(const char8_t* s) {
    return Sj(s);
}

inline std::string ChartText(const std::string& title, const std::string& extra = {}) {
    return "#TITLE " + title + "\r\n#ARTIST someone\r\n" + extra + "#00111:0101\r\n";
}

class BrowserTest : public ::testing::Test {
  protected:
    void SetUp() override {
        MakePlayer("player", "pass");
        OpenTestLibrary("player");
        page.SetLibrary(&TestLibrary());
    }
    void TearDown() override { CloseTestLibrary(); }

    FolderTree* tree() { return page.Tree(); }

    // The child reached by the texts, from the root item `root`.
    QTreeWidgetItem* Item(std::initializer_list<std::string> texts) {
        QTreeWidgetItem* item = nullptr;
        for (const std::string& t : texts) {
            QTreeWidgetItem* next = nullptr;
            const int n = item ? item->childCount() : tree()->topLevelItemCount();
            for (int i = 0; i < n && !next; ++i) {
                QTreeWidgetItem* c = item ? item->child(i) : tree()->topLevelItem(i);
                if (FolderTree::ItemText(c) == t) next = c;
            }
            if (!next) return nullptr;
            item = next;
        }
        return item;
    }
    std::vector<std::string> Children(QTreeWidgetItem* item) {
        std::vector<std::string> out;
        for (int i = 0; item && i < item->childCount(); ++i)
            out.push_back(FolderTree::ItemText(item->child(i)));
        return out;
    }
    // Adds a root through the button, answering the picker and the question.
    void AddRoot(const std::string& path) {
        ui->AnswerPath(path);
        ui->AnswerMessage(MsgAnswer::Yes);
        page.AddRootFromBrowser();
    }
    void Run(QTreeWidgetItem* item, int command) {
        ASSERT_TRUE(item);
        tree()->SetCurrent(item);
        Control<QAction>(tree(), command)->trigger();
    }
    // The name dialog's answer: `name` typed and OK, or Cancel when empty;
    // `shown` receives the name the dialog offered.
    void AnswerName(const std::string& name, std::string* shown = nullptr) {
        ui->AnswerDialog([name, shown](QDialog& d) {
            auto* edit = Control<QLineEdit>(&d, name_dialog_id::kName);
            if (shown) *shown = FromQString(edit->text());
            if (name.empty()) {
                d.reject();
                return int(QDialog::Rejected);
            }
            edit->setText(ToQString(name));
            d.accept();
            return int(QDialog::Accepted);
        });
    }
    bool HasSong(const std::string& path) {
        return test::QueryInt("SELECT 1 FROM song WHERE path = ?1",
                              [&](Statement& s) { s.Bind(1, path); }) == 1;
    }
    // Every row of both tables, every column, in key order.
    std::string Dump() {
        std::string out;
        for (const char* sql :
             {"SELECT * FROM folder ORDER BY path", "SELECT * FROM song ORDER BY path"}) {
            sqlite3_stmt* st = nullptr;
            sqlite3_prepare_v2(TestDb().handle(), sql, -1, &st, nullptr);
            while (sqlite3_step(st) == SQLITE_ROW) {
                for (int c = 0; c < sqlite3_column_count(st); ++c) {
                    const unsigned char* t = sqlite3_column_text(st, c);
                    out += t ? reinterpret_cast<const char*>(t) : "<null>";
                    out += '|';
                }
                out += '\n';
            }
            sqlite3_finalize(st);
        }
        return out;
    }
    // The messages shown since the last ForgetMessages().
    std::vector<std::string> Messages() {
        std::vector<std::string> all = ui->MessageTexts();
        return std::vector<std::string>(all.begin() + long(std::min(seen_, all.size())), all.end());
    }
    void ForgetMessages() { seen_ = ui->MessageTexts().size(); }
    // Moves a file's last-write time by `seconds`, so a change is seen as one.
    void Age(const std::string& relative, int seconds) {
        struct stat st {};
        ::stat(game.HostPath(relative).c_str(), &st);
        struct timespec times[2] = {st.st_atim, st.st_mtim};
        times[1].tv_sec += seconds;
        ::utimensat(AT_FDCWD, game.HostPath(relative).c_str(), times, 0);
    }
    size_t seen_ = 0;

    TempGame game;
    ScopedScriptedUi ui;
    JukeboxPage page;
};

}  // namespace qv5::test
