// Each library operation through the window and through the command line, on
// two copies of one tree: both leave the same rows in song.db and the same
// song folders in config.xml.
#include <gtest/gtest.h>

#include <QTreeWidget>
#include <ctime>
#include <functional>
#include <string>
#include <vector>

#include "config/config_file.h"
#include "library/encodings.h"
#include "library/song_library.h"
#include "platform/database.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "support/library_rows.h"
#include "support/players.h"
#include "support/scripted_ui.h"
#include "support/shell.h"
#include "support/temp_game.h"
#include "support/test_library.h"
#include "support/zip_writer.h"
#include "window/check/library_check_window.h"
#include "window/main/drop_target.h"
#include "window/main/drops.h"
#include "window/main/main_window.h"
#include "window/pages/jukebox_page.h"
#include "window/tree/folder_tree.h"
#include "window/tree/folder_tree_ids.h"

namespace qv5 {
namespace {

std::string Chart(const std::string& title) {
    return "#TITLE " + title + "\r\n#PLAYLEVEL 3\r\n#00111:0101\r\n";
}

// Every column but the times a row was written, which are "now"; so is the
// time of a folder the operation wrote into (from `since` on).
std::vector<std::string> Rows(const std::string& game_host, std::int32_t since) {
    const test::DbFile db = test::SongDbFile(game_host);
    std::vector<std::string> rows = test::QueryRows(
        db,
        "SELECT path,title,parent,category,info_a,info_b,command,max,CASE WHEN (date & "
        "4294967295) >= " +
            std::to_string(static_cast<std::uint32_t>(since)) +
            " THEN 'now' ELSE date END,type,banner FROM folder ORDER BY path");
    for (std::string& r :
         test::QueryRows(db,
                         "SELECT path,hash,title,subtitle,genre,artist,level,date,folder,parent,"
                         "difficulty,mode,txt,karinotes,type,exlevel,favorite FROM song ORDER BY "
                         "path"))
        rows.push_back(std::move(r));
    return rows;
}

test::ShellResult Qv5(const std::string& game_host, const std::string& args) {
    return test::RunShell("cd '" + game_host + "' && '" + QV5_EXE + "' --dir '" + game_host + "' " +
                          args + " 2>&1");
}

void Trigger(MainWindow& w, const std::string& root, int command) {
    FolderTree* tree = w.JukeboxTab()->Tree();
    for (int i = 0; i < tree->topLevelItemCount(); ++i)
        if (FolderTree::ItemText(tree->topLevelItem(i)) == root) {
            tree->setCurrentItem(tree->topLevelItem(i));
            tree->SetCurrent(tree->topLevelItem(i));
            if (command) tree->RunCommand(command);
            return;
        }
    ADD_FAILURE() << "no root item " << root;
}

// The library check's "Refresh this folder" on the finding of `chart`.
void RefreshFromCheck(MainWindow& w, const QString& chart) {
    LibraryCheckWindow* check = w.OpenLibraryCheck();
    ASSERT_TRUE(check);
    QTreeWidget* findings = check->Findings();
    for (int k = 0; k < findings->topLevelItemCount(); ++k)
        for (int i = 0; i < findings->topLevelItem(k)->childCount(); ++i)
            if (QTreeWidgetItem* item = findings->topLevelItem(k)->child(i);
                item->text(0).contains(chart)) {
                findings->setCurrentItem(item);
                check->RefreshFolder();
                return;
            }
    ADD_FAILURE() << "no finding of " << chart.toStdString();
}

struct Case {
    const char* name;
    std::vector<std::string> before;  // commands that set the library up
    const char* new_chart;            // written after that, or null
    std::function<void(MainWindow&, test::ScriptedUi&)> window;
    std::string command;
    int charts;     // song rows afterwards
    int favorites;  // of them, marked by the player (one chart before)
    std::string roots;
};

TEST(LibraryParity, EachOperationGivesTheSameLibraryFromTheWindowAndTheCommandLine) {
    const Case cases[] = {
        {"add",
         {},
         nullptr,
         [](MainWindow& w, test::ScriptedUi& ui) {
             ui.AnswerPath("songs");
             w.JukeboxTab()->AddRootFromBrowser();
         },
         "add-root songs",
         4,
         0,
         "songs\\;"},
        // A song folder inside the excluded one keeps its rows.
        {"exclude outer",
         {"add-root songs/in", "add-root songs"},
         nullptr,
         [](MainWindow& w, test::ScriptedUi&) { Trigger(w, "songs\\", kCmdRootExclude); },
         "remove-root songs",
         2,
         1,
         "songs\\in\\;"},
        // The rows of the excluded one stay while the outer one covers them.
        {"exclude inner",
         {"add-root songs/in", "add-root songs"},
         nullptr,
         [](MainWindow& w, test::ScriptedUi&) { Trigger(w, "songs\\in\\", kCmdRootExclude); },
         "remove-root songs/in",
         4,
         1,
         "songs\\;"},
        // A chart put directly into the song folder.
        {"refresh root",
         {"add-root songs"},
         "songs/top.bms",
         [](MainWindow& w, test::ScriptedUi&) { Trigger(w, "songs\\", kCmdRootRefresh); },
         "refresh songs",
         5,
         1,
         "songs\\;"},
        {"rescan",
         {"add-root songs/in", "add-root songs"},
         "songs/a/new.bms",
         [](MainWindow& w, test::ScriptedUi&) { w.JukeboxTab()->FullRescan(); },
         "rescan",
         5,
         1,
         "songs\\in\\;songs\\;"},
        // Into a folder the library did not list yet.
        {"install",
         {"add-root songs"},
         "songs/later/l.bms",
         [](MainWindow& w, test::ScriptedUi&) {
             Trigger(w, "songs\\", 0);
             w.Tabs()->setCurrentIndex(1);
             w.HandleDrop(*w.MakeDropTarget(), {ProgramDirectory() + "pack.zip"});
         },
         "install pack.zip --into songs",
         6,
         1,
         "songs\\;"},
        // A chart the check finds in a folder the library does not list yet.
        {"refresh new folder",
         {"add-root songs"},
         "songs/a/new/n.bms",
         [](MainWindow& w, test::ScriptedUi&) { RefreshFromCheck(w, QStringLiteral("n.bms")); },
         "refresh songs/a/new",
         5,
         1,
         "songs\\;"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        test::TempGame game;
        ASSERT_EQ(SaveConfig(test::NewPlayerRecord()), 1);
        for (const char* chart :
             {"songs/a/x.bms", "songs/a/y.bms", "songs/in/b/z.bms", "songs/in/c.bms"})
            game.WriteFile(chart, Chart(chart));
        for (const std::string& command : c.before) ASSERT_EQ(Qv5(game.host(), command).code, 0);
        if (!c.before.empty()) {
            Database db;
            ASSERT_TRUE(db.Open(kSongDbPath));
            ASSERT_TRUE(db.Exec("UPDATE song SET favorite = 1 WHERE path = 'songs\\in\\c.bms'"));
        }
        if (c.new_chart) game.WriteFile(c.new_chart, Chart("new"));
        test::WriteZip(game.HostPath("pack.zip"), {test::File("pack/p.bms", Chart("p"))});
        const std::string copy = game.host() + "-cli";
        ASSERT_EQ(test::RunShell("cp -a '" + game.host() + "' '" + copy + "'").code, 0);
        const std::int32_t since = LibraryTime(ToFileTime(std::time(nullptr)));

        const test::ShellResult cli = Qv5(copy, c.command);
        EXPECT_EQ(cli.code, 0) << cli.out;
        {
            test::ScopedScriptedUi ui;
            ui->AcceptAllMessages();
            MainWindow w;
            ASSERT_TRUE(w.InitDialog());
            c.window(w, *ui);
            EXPECT_EQ(w.ApplySettings(), 1);
        }
        CloseTestLibrary();
        const std::vector<std::string> rows = Rows(game.host(), since);
        EXPECT_EQ(rows, Rows(copy, since));
        EXPECT_EQ(test::QueryInt(test::SongDbFile(game.host()), "SELECT count(*) FROM song"),
                  c.charts);
        EXPECT_EQ(test::QueryInt(test::SongDbFile(game.host()),
                                 "SELECT count(*) FROM song WHERE favorite = 1"),
                  c.favorites);
        EXPECT_EQ(test::ConfigRoots(), c.roots);
        ASSERT_TRUE(SetProgramDirectory(copy));
        EXPECT_EQ(test::ConfigRoots(), c.roots);
        ASSERT_TRUE(SetProgramDirectory(game.host()));
        test::RunShell("rm -rf '" + copy + "'");
    }
}

}  // namespace
}  // namespace qv5
