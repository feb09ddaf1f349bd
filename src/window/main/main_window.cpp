#include "window/main/main_window.h"

#include <QAction>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QStackedWidget>
#include <QTabBar>
#include <QVBoxLayout>

#include "browser/game_body.h"
#include "browser/game_folder_setup.h"
#include "browser/root_list.h"
#include "config/config_file.h"
#include "library/chart_placement.h"
#include "library/song_library.h"
#include "platform/text.h"
#include "platform/tr.h"
#include "platform/ui_service.h"
#include "player/player_db.h"
#include "window/check/library_check_window.h"
#include "window/common/app_icon.h"
#include "window/common/controls.h"
#include "window/dialogs/play_option_dialog.h"
#include "window/dialogs/tag_editor_dialog.h"
#include "window/dialogs/tool_settings_dialog.h"
#include "window/main/about.h"
#include "window/main/library_watch.h"
#include "window/main/main_window_ids.h"
#include "window/pages/custom_folder_page.h"
#include "window/pages/jukebox_page.h"
#include "window/pages/main_page.h"
#include "window/pages/option_page.h"
#include "window/pages/select_page.h"
#include "window/pages/song_info_panel.h"
#include "window/pages/system_page.h"
#include "window/song_list/song_list_window.h"
#include "window/tree/conversion_commands.h"
#include "window/tree/folder_tree.h"
#include "window/tree/folder_tree_ids.h"
#include "window/tree/tree_reveal.h"

namespace qv5 {
namespace {

// `error` is the host path and the system's reason, in UTF-8.
std::string SaveFailedMessage(const std::string& error) {
    return Tr("MainWindow", "設定を保存できませんでした。\n") + Utf8ToCp932Lossy(error);
}

}  // namespace

MainWindow::MainWindow(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("QV5 SETUP"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
    setAcceptDrops(true);
    setWindowIcon(AppIcon());

    auto* menu_bar = new QMenuBar(this);
    menu_bar_ = menu_bar;
    QMenu* language = menu_bar->addMenu(QStringLiteral("Language"));
    QAction* japanese = language->addAction(ToQString(Sj(u8"日本語")));
    QAction* english = language->addAction(QStringLiteral("English"));
    SetControlId(japanese, main_window_id::kMenuJapanese);
    SetControlId(english, main_window_id::kMenuEnglish);
    connect(japanese, &QAction::triggered, this, [this] { OnLanguage(0); });
    connect(english, &QAction::triggered, this, [this] { OnLanguage(1); });
    watch_ = new LibraryWatch(this);
    help_ = menu_bar->addMenu(QString());
    about_ = help_->addAction(QString());
    about_->setObjectName(QStringLiteral("about"));
    connect(about_, &QAction::triggered, this, [this] { ShowAbout(this); });
    AddSongListCommand();
    tables_action_ = LibraryMenu()->addAction(QString());
    tables_action_->setObjectName(QStringLiteral("tablesAction"));
    connect(tables_action_, &QAction::triggered, this, [this] { OpenTables(); });
    check_ = LibraryMenu()->addAction(QString());
    check_->setObjectName(QStringLiteral("checkLibrary"));
    connect(check_, &QAction::triggered, this, [this] { OpenLibraryCheck(); });
    SetMenuCaptions();

    tabs_ = new QTabBar(this);
    SetControlId(tabs_, main_window_id::kTabs);
    stack_ = new QStackedWidget(this);
    main_ = new MainPage;
    jukebox_ = new JukeboxPage;
    jukebox_->SetLibrary(&song_library_);
    auto* custom = new CustomFolderPage;
    auto* option = new OptionPage;
    auto* select = new SelectPage;
    auto* system = new SystemPage;
    pages_ = {main_, jukebox_, custom, option, select, system};
    settings_pages_ = {jukebox_, custom, option, system, select};
    const char* labels[] = {"MAIN", "JUKEBOX1", "JUKEBOX2", "OPTION", "SELECT", "SYSTEM"};
    for (size_t i = 0; i < pages_.size(); ++i) {
        stack_->addWidget(pages_[i]);
        pages_[i]->setObjectName(QString::fromLatin1(labels[i]));
        tabs_->addTab(QString::fromLatin1(labels[i]));
    }

    auto add_button = [this](int id, const QString& caption, bool visible) {
        auto* b = new QPushButton(caption, this);
        SetControlId(b, id);
        b->setAutoDefault(false);
        if (!visible) {
            b->setVisible(false);
            b->setEnabled(false);
        }
        return b;
    };
    play_ = add_button(main_window_id::kPlay, QStringLiteral("Play"), true);
    auto* options = add_button(main_window_id::kPlayOptions, QStringLiteral("OPTION"), true);
    auto* movie = add_button(main_window_id::kMakeMovie, QStringLiteral("MOVIE"), true);
    exit_ = add_button(main_window_id::kExit, QStringLiteral("Exit"), true);
    // The dialog's default button: hidden and disabled, so that Return in an
    // edit presses nothing.
    QPushButton* default_button = add_button(kIdOk, QString(), false);
    default_button->setDefault(true);
    auto* cancel = add_button(kIdCancel, QString(), false);
    add_button(main_window_id::kHiddenButton, QString(), false);
    add_button(main_window_id::kNoOpButton, QString(), false);
    connect(exit_, &QPushButton::clicked, this, &MainWindow::OnExit);
    connect(cancel, &QPushButton::clicked, this, &MainWindow::OnCancel);
    connect(play_, &QPushButton::clicked, this, [this] { OnPlay(); });
    connect(options, &QPushButton::clicked, this, [this] { OnPlayOptions(); });
    connect(movie, &QPushButton::clicked, this, [this] { OnMakeMovie(); });

    auto* row = new QHBoxLayout;
    row->addWidget(play_);
    row->addWidget(options);
    row->addStretch(1);
    row->addWidget(movie);
    row->addWidget(exit_);
    auto* top = new QVBoxLayout(this);
    top->setMenuBar(menu_bar);
    top->addWidget(tabs_);
    top->addWidget(stack_, 1);
    // What the last long job did (registration, rescan, install, conversion).
    auto* summary = new QLabel(this);
    summary->setObjectName(QStringLiteral("jobSummary"));
    summary->setTextFormat(Qt::PlainText);
    top->addWidget(summary);
    top->addLayout(row);
    resize(560, 520);

    connect(tabs_, &QTabBar::currentChanged, this, [this] { OnTabChange(); });
    jukebox_->Tree()->hooks.chart_command = [this](int id, const std::string& chart) {
        RunChartCommand(id, chart);
    };
    ConnectTreeCommands();
    jukebox_->open_tool_settings = [this] { OpenToolSettings(this, jukebox_->tools); };
    // No page button may become the default when it takes the focus.
    for (QPushButton* b : findChildren<QPushButton*>())
        if (b->window() == this && b != default_button) b->setAutoDefault(false);
}

// The tree's commands that other parts of the program carry out.
void MainWindow::ConnectTreeCommands() {
    FolderTree* tree = jukebox_->Tree();
    tree->hooks.convert = [this](int id, const std::string& folder) {
        RunConversionCommand(this, id, WinPath(folder), jukebox_->tools);
    };
    tree->hooks.edit_tags = [this](const std::string& path, bool is_folder) {
        EditTags(this, song_library_, path, is_folder);
    };
    tree->hooks.show_info = [tree](const std::string& path) {
        auto* panel = tree->window()->findChild<SongInfoPanel*>();
        if (!panel) return;
        QTreeWidgetItem* item = tree->currentItem();
        panel->ShowItem(item ? FolderTree::NormalIcon(item) : 2, path);
    };
}

bool MainWindow::InitDialog() {
    ConfigRecord& config = TheConfig();
    tabs_->blockSignals(true);
    tabs_->setCurrentIndex(0);
    tabs_->blockSignals(false);
    OnTabChange();
    // A game folder made by hand may hold QV5files alone.
    MakeGameFolders();
    const ConfigState state = LoadConfig(config);
    if (state == ConfigState::Unreadable) ShowMessage(this, UnreadableConfigMessage());
    // Until config.xml says otherwise, the desktop's language; the first
    // save stores it.
    if (state == ConfigState::Missing) config.language = DesktopLanguage();
    main_->FillPlayerList(config.id);
    main_->LoadFrom(config);
    song_library_.Open(ExistingPlayerDb(config.id));
    watch_->Start();
    main_->ShowValues();
    jukebox_->SetRoots({config.path.begin(), config.path.begin() + config.path_count});
    jukebox_->tools = ToolSettingsFrom(config);
    for (Page* p : settings_pages_) {
        p->LoadFrom(config);
        p->ShowValues();
    }
    ApplyLanguage(config.language);
    return RunFirstRunLoop();
}

int MainWindow::ApplySettings() {
    return Apply(false) == Applied::Saved ? 1 : 0;
}

MainWindow::Applied MainWindow::Apply(bool exiting) {
    ConfigRecord& config = TheConfig();
    main_->ReadControls();
    if (!CheckPlayer()) return Applied::CheckFailed;
    const std::vector<std::string> roots = jukebox_->RootTexts();
    if (roots.empty())
        ShowMessage(this, Tr("MainWindow",
                             "曲の検索を行うフォルダが登録されていません。\n"
                             "JUKEBOXタグにて、登録を行ってください。"));
    main_->StoreTo(config);
    song_library_.Open(ExistingPlayerDb(config.id));

    StoreToolSettings(jukebox_->tools, config);
    for (Page* p : settings_pages_) {
        p->ReadControls();
        p->StoreTo(config);
    }
    // A full disk or a read-only folder must not pass unnoticed: the
    // settings would be lost when the window closes.
    std::string error;
    if (SaveConfigMerged(config, TakeInOthersRoots(roots), &error)) {
        // What others changed in the list is now in the file: the tree shows it.
        jukebox_->FollowRoots(SongFolders(config));
        return Applied::Saved;
    }
    std::string text = SaveFailedMessage(error);
    if (exiting)
        text += Tr("MainWindow",
                   "\n\n空きを作るなどしてから、もう一度「終了」を押すと保存し直します。"
                   "保存せずに閉じるにはEscキーを押して下さい。");
    ShowMessage(this, text, Tr("MainWindow", "エラー"), MsgIcon::Error);
    return Applied::SaveFailed;
}

// The song folders commands beside the window (add-root, remove-root) changed
// in config.xml since the tree last read them join `ours`, the window's list,
// under the file's lock: the window's save keeps its own additions and
// removals and loses none of theirs.
std::function<void(const ConfigRecord*, ConfigRecord&)> MainWindow::TakeInOthersRoots(
    std::vector<std::string> ours) const {
    return [this, ours = std::move(ours)](const ConfigRecord* now, ConfigRecord& record) {
        // With no readable file there is nothing to take in.
        SetSongFolders(record,
                       now ? MergeRootLists(ours, jukebox_->RootsRead(), SongFolders(*now)) : ours);
    };
}

void MainWindow::OnTabChange() {
    int index = tabs_->currentIndex();
    if (index < 0) return;
    stack_->setCurrentIndex(index);
    if (index != 0) ApplySettings();
}

void MainWindow::OnCancel() {
    // Cancel leaves whatever happens; a record that could not be written
    // (a language chosen from the menu) is still said to be lost.
    std::string error;
    if (!SaveConfigMerged(TheConfig(), TakeInOthersRoots(SongFolders(TheConfig())), &error))
        ShowMessage(this, SaveFailedMessage(error), Tr("MainWindow", "エラー"), MsgIcon::Error);
    Close();
}

void MainWindow::OnExit() {
    // A failed check closes as it always did; a failed save keeps the window
    // so the player can retry or cancel.
    if (Apply(true) == Applied::SaveFailed) return;
    Close();
}

MainWindow::~MainWindow() = default;

QMenu* MainWindow::LibraryMenu() {
    if (!library_) {
        library_ = new QMenu(menu_bar_);
        library_->setObjectName(QStringLiteral("libraryMenu"));
        menu_bar_->insertMenu(help_->menuAction(), library_);
    }
    return library_;
}

void MainWindow::AddSongListCommand() {
    song_list_action_ = LibraryMenu()->addAction(QString());
    song_list_action_->setObjectName(QStringLiteral("songListAction"));
    song_list_action_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F));
    connect(song_list_action_, &QAction::triggered, this, [this] { OpenSongList(); });
}

SongListWindow* MainWindow::OpenSongList() {
    if (!song_list_) {
        song_list_ = new SongListWindow(song_library_, this);
        SongListHooks& h = song_list_->hooks;
        h.play = [this](const std::string& path) {
            jukebox_->Tree()->hooks.chart_command(kCmdPlayChart, path);
        };
        h.autoplay = [this](const std::string& path) {
            jukebox_->Tree()->hooks.chart_command(kCmdAutoplayChart, path);
        };
        h.edit_tags = [this](const std::string& path) {
            return EditTags(song_list_, song_library_, path);
        };
        h.show_in_tree = [this](const std::string& path) {
            tabs_->setCurrentIndex(1);
            RevealInTree(*jukebox_->Tree(), WinPath(path));
            raise();
            activateWindow();
        };
    } else {
        song_list_->FollowLibrary();
    }
    song_list_->show();
    song_list_->raise();
    song_list_->activateWindow();
    return song_list_;
}

void MainWindow::SetMenuCaptions() {
    LibraryMenu()->setTitle(tr("ライブラリ"));
    song_list_action_->setText(tr("曲リスト..."));
    tables_action_->setText(tr("難易度表..."));
    check_->setText(tr("ライブラリの検査..."));
    help_->setTitle(tr("ヘルプ"));
    about_->setText(tr("QV5 SETUPについて"));
}

void MainWindow::OnLanguage(int language) {
    TheConfig().language = language;
    ApplyLanguage(language);
}

void MainWindow::Close() {
    closing_ = true;
    done(QDialog::Rejected);
}

bool MainWindow::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate && watch_->TakeChange())
        jukebox_->FollowLibrary(TheConfig());
    return QDialog::event(event);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (!closing_) {
        if (Apply(true) == Applied::SaveFailed) {
            event->ignore();  // as Exit: the window stays for a retry or Escape
            return;
        }
        closing_ = true;
    }
    QDialog::closeEvent(event);  // ends in reject(), which now just closes
}

// Escape and the hidden Cancel button both come here.
void MainWindow::reject() {
    if (closing_) {
        QDialog::reject();
        return;
    }
    OnCancel();
}

void MainWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

// The panel is wherever the JUKEBOX1 page placed it.
void MainWindow::UpdateSongInformation(const std::string& chart_path) {
    if (auto* panel = findChild<SongInfoPanel*>()) panel->Show(chart_path);
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event) {
    OnDropFiles(event->mimeData()->urls());
}

}  // namespace qv5
