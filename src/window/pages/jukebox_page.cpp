#include "window/pages/jukebox_page.h"

#include <QElapsedTimer>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <algorithm>

#include "browser/root_list.h"
#include "config/config_file.h"
#include "library/song_library.h"
#include "platform/progress.h"
#include "platform/shell.h"
#include "platform/text.h"
#include "platform/tr.h"
#include "platform/ui_service.h"
#include "platform/win_path.h"
#include "window/common/controls.h"
#include "window/common/job_summary.h"
#include "window/common/recaption.h"
#include "window/pages/jukebox_page_ids.h"
#include "window/pages/song_info_panel.h"
#include "window/tree/folder_tree.h"

namespace qv5 {

using namespace jukebox_page_id;
namespace {

const char* kRemoved = QT_TRANSLATE_NOOP("JukeboxPage", "この機能は削除済みです。");

bool Confirm(QWidget* owner, const std::string& text) {
    return Ui().MessageBox(owner, text, Tr("JukeboxPage", "確認"), MsgButtons::YesNo,
                           MsgIcon::Question) == MsgAnswer::Yes;
}

}  // namespace

void JukeboxPage::SetLibrary(SongLibrary* library) {
    tree_->SetLibrary(library);
    if (auto* panel = findChild<SongInfoPanel*>()) panel->SetLibrary(library);
}

JukeboxPage::JukeboxPage(QWidget* parent) : Page(parent), tree_(new FolderTree(this)) {
    tree_->tools = &tools;
    tree_->setMinimumHeight(300);
    AddStatic(kSongFoldersLabel, QStringLiteral("Song folders"));
    Place(tree_);
    static_cast<QGridLayout*>(layout())->setRowStretch(1, 1);

    auto* row = new QWidget(this);
    auto* buttons = new QHBoxLayout(row);
    buttons->setContentsMargins(0, 0, 0, 0);
    auto button = [&](int id, const QString& caption, void (JukeboxPage::*handler)()) {
        auto* b = new QPushButton(caption, row);
        SetControlId(b, id);
        b->setAutoDefault(false);
        buttons->addWidget(b);
        connect(b, &QPushButton::clicked, this, [this, handler] { (this->*handler)(); });
        return b;
    };
    // Captions that follow a change of language while the page is open.
    auto caption = [](QObject* target, const char* japanese) {
        SetCaption(target, "text", "JukeboxPage", japanese);
    };
    caption(button(kAddRoot, QString(), &JukeboxPage::AddRootFromBrowser),
            QT_TRANSLATE_NOOP("JukeboxPage", "フォルダ追加"));
    caption(button(kFullRescan, QString(), &JukeboxPage::FullRescan),
            QT_TRANSLATE_NOOP("JukeboxPage", "全フォルダ再検索"));
    buttons->addStretch(1);
    caption(button(kToolSettings, QString(), &JukeboxPage::OpenToolSettings),
            QT_TRANSLATE_NOOP("JukeboxPage", "詳細設定"));
    Place(row);
    caption(AddStatic(kTreeHint, QString()),
            QT_TRANSLATE_NOOP("JukeboxPage", "右クリックでフォルダやファイルの操作ができます。"));
    caption(AddStatic(kDropHint, QString()),
            QT_TRANSLATE_NOOP("JukeboxPage", "フォルダをウィンドウにドロップしても登録できます。"));
    Place(new SongInfoPanel(this));

    // Present but not shown: the install folder and the removed commands.
    auto tell_removed = [this] { ShowMessage(this, Tr("JukeboxPage", kRemoved)); };
    QLineEdit* field = AddTextEdit(kInstallFolder, QString(), &ConfigRecord::newsongfolder);
    field->setReadOnly(true);
    field->setVisible(false);
    for (auto [id, handler] : {std::pair{kChooseInstallFolder, &JukeboxPage::ChooseInstallFolder},
                               std::pair{kOpenInstallFolder, &JukeboxPage::OpenInstallFolder}})
        button(id, QString(), handler)->setVisible(false);
    for (int id : {kRemovedUnregister, kRemovedOpenFolder}) {
        auto* b = new QPushButton(row);
        SetControlId(b, id);
        b->setVisible(false);
        connect(b, &QPushButton::clicked, this, tell_removed);
    }
    auto* menu = new QMenu(this);
    SetControlId(menu, kMenu);
    QAction* add = menu->addAction(QString());
    caption(add, QT_TRANSLATE_NOOP("JukeboxPage", "フォルダ追加"));
    SetControlId(add, kMenuAddRoot);
    connect(add, &QAction::triggered, this, &JukeboxPage::AddRootFromBrowser);
    for (int id : {kMenuRemoved1, kMenuRemoved2}) {
        QAction* removed = menu->addAction(QString());
        SetControlId(removed, id);
        connect(removed, &QAction::triggered, this, tell_removed);
    }
}

std::vector<std::string> JukeboxPage::RootTexts() const {
    return tree_->RootTexts();
}

void JukeboxPage::SetRoots(const std::vector<std::string>& roots) {
    tree_->ClearRoots();
    for (const std::string& root : roots) tree_->InsertRoot(WinPath(root));
    roots_read_ = roots;
}

void JukeboxPage::FollowRoots(const std::vector<std::string>& now) {
    const std::vector<std::string> merged = MergeRootLists(RootTexts(), roots_read_, now);
    for (int i = tree_->topLevelItemCount() - 1; i >= 0; --i) {
        QTreeWidgetItem* item = tree_->topLevelItem(i);
        if (std::find(merged.begin(), merged.end(), FolderTree::ItemText(item)) == merged.end())
            tree_->RemoveItem(item);
    }
    const std::vector<std::string> shown = RootTexts();
    for (const std::string& root : merged)
        if (std::find(shown.begin(), shown.end(), root) == shown.end())
            tree_->InsertRoot(WinPath(root));
    roots_read_ = now;
}

void JukeboxPage::FollowLibrary(ConfigRecord& record) {
    ConfigRecord fresh;
    if (LoadConfig(fresh) == ConfigState::Read) {
        const std::vector<std::string> now = SongFolders(fresh);
        SetSongFolders(record, MergeRootLists(SongFolders(record), roots_read_, now));
        FollowRoots(now);
    }
    tree_->FollowDisk();
}

bool JukeboxPage::RegisterNewRoot(const std::string& path) {
    QTreeWidgetItem* item = tree_->InsertRoot(WinPath(path));
    LibraryReport report;
    bool stored = false;
    QElapsedTimer took;
    took.start();
    {
        std::unique_ptr<Progress> progress =
            tree_->progress_factory
                ? tree_->progress_factory(window(), Tr("JukeboxPage", "フォルダを登録しています"))
                : nullptr;
        if (progress) progress->SetUnit(ChartsUnit());
        stored = tree_->Library().AddSongFolder(WinPath(path), progress.get(), report);
    }
    if (stored) {
        ShowJobSummary(window(), LibrarySummary(LibraryJob::Register, report.charts, report.folders,
                                                took.elapsed() / 1000.0));
        return true;
    }
    tree_->RemoveItem(item);
    if (report.stopped)
        ShowMessage(window(), Tr("JukeboxPage", "登録を中止しました。ライブラリは元のままです。"));
    else
        ShowMessage(window(),
                    Tr("JukeboxPage", "フォルダを登録できませんでした。\n") + report.error,
                    Tr("JukeboxPage", "エラー"), MsgIcon::Error);
    return false;
}

void JukeboxPage::AddRootFromBrowser() {
    ReadControls();
    auto chosen = Ui().BrowseFolder(this, "NEW SONG FOLDER");
    if (!chosen) return;
    const std::string path = WinPath(*chosen).AsFolder().text();
    if (PathTooLong(path)) {
        ShowMessage(window(), PathTooLongMessage(path), Tr("JukeboxPage", "エラー"));
        return;
    }
    if (!Confirm(window(), Tr("JukeboxPage",
                              "bmsが多い場合、追加作業に数分かかる場合があります。\n"
                              "よろしいですか？")))
        return;
    RegisterNewRoot(path);
    ShowValues();
}

bool JukeboxPage::DuplicateCheck(const std::string& stored_path) {
    const std::string message = RootConflictMessage(RootTexts(), stored_path);
    if (message.empty()) return false;
    ShowMessage(window(), message);
    return true;
}

bool JukeboxPage::RegisterDroppedFolder(const std::string& dropped, DropState& drop) {
    const std::string path = StoredRootPath(dropped, true);
    if (DuplicateCheck(path)) return false;
    if (PathTooLong(path)) {
        ShowMessage(window(), PathTooLongMessage(path), Tr("JukeboxPage", "エラー"));
        return false;
    }
    if (!drop.confirmed) {
        if (!Confirm(window(), Tr("JukeboxPage",
                                  "ルートフォルダに加えます。よろしいですか？\n"
                                  "(bmsが多い場合、追加作業に数分かかる場合があります。)")))
            return false;
        drop.confirmed = true;
    }
    return RegisterNewRoot(path);
}

bool JukeboxPage::AddCustomFolderRoot(const std::string& dropped) {
    const std::string path = StoredRootPath(dropped, false);
    if (DuplicateCheck(path)) return false;
    tree_->InsertRoot(WinPath(path));  // a custom-folder file shows the document icon
    return true;
}

void JukeboxPage::FullRescan() {
    if (!Confirm(window(), Tr("JukeboxPage",
                              "全フォルダを再検索します。\n"
                              "しばらくコンフィグプログラムは応答不能になります。\n"
                              "よろしいですか？")))
        return;
    const std::vector<std::string> roots = RootTexts();
    LibraryReport report;
    bool done;
    QElapsedTimer took;
    took.start();
    {
        std::unique_ptr<Progress> progress =
            tree_->progress_factory
                ? tree_->progress_factory(window(),
                                          Tr("JukeboxPage", "全フォルダを再検索しています"))
                : nullptr;
        if (progress) progress->SetUnit(ChartsUnit());
        done = tree_->Library().RescanSongFolders(roots, progress.get(), report);
    }
    if (!done) {
        if (report.stopped)
            ShowMessage(window(),
                        Tr("JukeboxPage", "再検索を中止しました。ライブラリは元のままです。"));
        else
            ShowMessage(window(),
                        Tr("JukeboxPage", "再検索に失敗しました。ライブラリは元のままです。\n") +
                            report.error,
                        Tr("JukeboxPage", "エラー"), MsgIcon::Error);
        return;
    }
    if (roots.empty()) return;
    const double seconds = took.elapsed() / 1000.0;
    ShowMessage(window(), Tr("JukeboxPage", "終了しました"));
    ShowJobSummary(window(),
                   LibrarySummary(LibraryJob::Rescan, report.charts, report.folders, seconds));
    if (!report.missing.empty()) {
        std::string list = Tr("JukeboxPage", "見つからないフォルダがありました:");
        for (const std::string& root : report.missing) list += "\n" + root;
        ShowMessage(window(), list);
    }
}

void JukeboxPage::ChooseInstallFolder() {
    ReadControls();
    auto chosen =
        Ui().BrowseFolder(this, Tr("JukeboxPage", "インストールするフォルダを選択して下さい"));
    if (!chosen) return;
    values.newsongfolder = WinPath(*chosen).AsFolder().text();
    ShowValues();
}

void JukeboxPage::OpenInstallFolder() {
    ReadControls();
    ShellOpen(values.newsongfolder);
}

void JukeboxPage::OpenToolSettings() {
    if (open_tool_settings) open_tool_settings();
    ClampToolSettings(tools);
}

}  // namespace qv5
