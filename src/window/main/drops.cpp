// Files dropped on the main window: each path by its kind, in the order the
// system reports them.
#include "window/main/drops.h"

#include <QTabBar>

#include "browser/root_list.h"
#include "library/chart_names.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "platform/text.h"
#include "platform/tr.h"
#include "platform/ui_service.h"
#include "player/course_import.h"
#include "window/main/main_window.h"
#include "window/pages/jukebox_page.h"
#include "window/tree/conversion_commands.h"
#include "window/tree/folder_tree.h"

namespace qv5 {
namespace {

bool Ask(MainWindow& window, const std::string& text) {
    return Ui().MessageBox(&window, text, Tr("Drops", "確認"), MsgButtons::YesNo,
                           MsgIcon::Question) == MsgAnswer::Yes;
}

void DropRootFolder(MainWindow& window, DropTarget& target, DropState& state,
                    const std::string& path) {
    const std::string folder = StoredRootPath(path, true);
    if (target.RootRefused(folder)) return;
    if (!state.root_confirmed) {
        if (!Ask(window, Tr("Drops",
                            "ルートフォルダに加えます。よろしいですか？\n(bmsが多い場合、"
                            "追加作業に数分かかる場合があります。)")))
            return;
        state.root_confirmed = true;
    }
    target.AddRootFolder(folder);
}

void DropCourseList(MainWindow& window, const std::string& path) {
    if (!Ask(window, Tr("Drops", "コースをデータベースに追加します。\nよろしいですか?"))) return;
    const CourseImport r = ImportCourseList(window.Library(), path);
    ShowNotices(&window, r.notices);
    ShowMessage(&window, Tr("Drops", "%nコース追加しました\n", nullptr, r.count),
                Tr("Drops", "報告"));
}

void DropCustomFolder(DropTarget& target, const std::string& path) {
    const std::string file = StoredRootPath(path, false);
    if (!target.RootRefused(file)) target.AddCustomFolderRoot(file);
}

// The JUKEBOX1 page's folder tree as the drop handler sees it.
class WindowDropTarget final : public DropTarget {
  public:
    explicit WindowDropTarget(MainWindow& window)
        : window_(window), page_(*window.JukeboxTab()), tree_(*page_.Tree()) {}
    bool JukeboxShown() const override { return window_.Tabs()->currentIndex() == 1; }
    std::optional<DropItem> SelectedItem() override { return ItemOf(tree_.currentItem()); }
    std::optional<DropItem> ParentOf(const DropItem& item) override {
        return ItemOf(Item(item)->parent());
    }
    void Select(const DropItem& item) override {
        QTreeWidgetItem* i = Item(item);
        tree_.setCurrentItem(i);
        tree_.SetCurrent(i);
    }
    void RepopulateItem(const DropItem& item) override { tree_.Repopulate(Item(item)); }
    DropItem AddFolderItem(const DropItem& parent, const std::string& name) override {
        QTreeWidgetItem* p = Item(parent);
        for (int i = 0; i < p->childCount(); ++i)
            if (FromQString(p->child(i)->text(0)) == name) return *ItemOf(p->child(i));
        return *ItemOf(tree_.InsertNewFolderItem(p, name));
    }
    bool RootRefused(const std::string& path) override { return page_.DuplicateCheck(path); }
    void AddRootFolder(const std::string& path) override {
        // The drop handler has asked already.
        JukeboxPage::DropState asked;
        asked.confirmed = true;
        page_.RegisterDroppedFolder(path, asked);
    }
    void AddCustomFolderRoot(const std::string& path) override { page_.AddCustomFolderRoot(path); }
    void ConvertWavToOgg(const std::string& folder) override {
        ToolSettings tools = page_.tools;
        tools.autobmptopng = 0;
        tools.autowavtoogg = 1;
        ConvertInstalledFolder(&window_, WinPath(folder), tools);
    }
    void ConvertBmpToPng(const std::string& folder) override {
        ToolSettings tools = page_.tools;
        tools.autowavtoogg = 0;
        tools.autobmptopng = 1;
        ConvertInstalledFolder(&window_, WinPath(folder), tools);
    }
    void SearchHiddenCharts(const DropItem& item) override { tree_.SearchHiddenCharts(Item(item)); }
    void RefreshControls() override { page_.ShowValues(); }

  private:
    static QTreeWidgetItem* Item(const DropItem& item) {
        return reinterpret_cast<QTreeWidgetItem*>(item.handle);
    }
    static std::optional<DropItem> ItemOf(QTreeWidgetItem* item) {
        if (!item) return std::nullopt;
        return DropItem{reinterpret_cast<std::uintptr_t>(item), FromQString(item->text(0)),
                        FolderTree::ItemPath(item), FolderTree::NormalIcon(item)};
    }
    MainWindow& window_;
    JukeboxPage& page_;
    FolderTree& tree_;
};

}  // namespace

DropKind ClassifyDrop(const std::string& path) {
    if (IsDirectory(path)) return DropKind::RootFolder;
    const std::string lower = LowerAscii(path);
    if (EndsWith(lower, "qv5crs") || EndsWith(lower, "xml")) return DropKind::CourseList;
    if (EndsWith(lower, "bmp") || EndsWith(lower, "jpg") || EndsWith(path, "png") ||
        EndsWith(path, "gif"))
        return DropKind::Wallpaper;
    if (IsCustomFolderName(path)) return DropKind::CustomFolder;
    if (IsChartName(path)) return DropKind::Chart;
    if (EndsWith(lower, ".zip")) return DropKind::Zip;
    if (EndsWith(lower, ".rar")) return DropKind::Rar;
    return DropKind::Ignored;
}

void MainWindow::HandleDrop(DropTarget& target, const std::vector<std::string>& paths) {
    MainWindow& window = *this;
    DropState state;
    state.count = static_cast<int>(paths.size());
    for (const std::string& path : paths) {
        switch (ClassifyDrop(path)) {
            case DropKind::RootFolder:
                DropRootFolder(window, target, state, path);
                break;
            case DropKind::CourseList:
                DropCourseList(window, path);
                break;
            case DropKind::Wallpaper:
                if (!DropWallpaper(path)) return;
                break;
            case DropKind::CustomFolder:
                DropCustomFolder(target, path);
                break;
            case DropKind::Chart:
                DropChart(target, path);
                break;
            case DropKind::Zip:
            case DropKind::Rar:
                if (!DropArchive(target, state, path)) return;
                break;
            case DropKind::Ignored:
                break;
        }
    }
}

std::unique_ptr<DropTarget> MainWindow::MakeDropTarget() {
    return std::make_unique<WindowDropTarget>(*this);
}

// Paths come whole, however long; one the program cannot name is said so.
void MainWindow::OnDropFiles(const QList<QUrl>& urls) {
    MainWindow& window = *this;
    std::vector<std::string> paths;
    for (const QUrl& url : urls) {
        if (!url.isLocalFile()) continue;
        const std::string host = url.toLocalFile().toStdString();
        auto internal = FromHostPath(host);
        if (!internal) {
            ShowMessage(&window,
                        Tr("Drops", "このファイル名はShift-JISで表せないため扱えません。\n") +
                            Utf8ToCp932Lossy(host),
                        Tr("Drops", "エラー"));
            continue;
        }
        paths.push_back(*internal);
    }
    auto target = MakeDropTarget();
    HandleDrop(*target, paths);
}

}  // namespace qv5
