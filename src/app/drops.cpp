// Files dropped on the main window: each path by its kind, in the order the
// system reports them.
#include "app/drops.h"

#include <QTabBar>

#include "app/main_window.h"
#include "app/main_window_steps.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "platform/text.h"
#include "platform/ui_service.h"
#include "player/course_import.h"

namespace qv5 {
namespace {

bool EndsWith(const std::string& s, const char* tail) {
    const std::string t(tail);
    return s.size() >= t.size() && s.compare(s.size() - t.size(), t.size(), t) == 0;
}

std::string Lower(std::string s) {
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return s;
}

// Relative to the program directory when inside it (case-sensitive).
std::string Shorten(const std::string& path) {
    const std::string& dir = ProgramDirectory();
    if (!dir.empty() && path.size() >= dir.size() && path.compare(0, dir.size(), dir) == 0)
        return path.substr(dir.size());
    return path;
}

bool Ask(MainWindow& window, const std::string& text) {
    return Ui().MessageBox(&window, text, Sj(u8"確認"), MsgButtons::YesNo, MsgIcon::Question) ==
           MsgAnswer::Yes;
}

void DropRootFolder(MainWindow& window, DropTarget& target, DropState& state,
                    const std::string& path) {
    std::string folder = Shorten(path);
    if (folder.empty() || folder.back() != '\\') folder += '\\';
    if (target.RootRefused(folder)) return;
    if (!state.root_confirmed) {
        if (!Ask(window, Sj(u8"ルートフォルダに加えます。よろしいですか？\n(bmsが多い場合、"
                            u8"追加作業に数分かかる場合があります。)")))
            return;
        state.root_confirmed = true;
    }
    target.AddRootFolder(folder);
}

void DropCourseList(MainWindow& window, const std::string& path) {
    if (!Ask(window, Sj(u8"コースをデータベースに追加します。\nよろしいですか?"))) return;
    const CourseImport r = ImportCourseList(path);
    ShowNotices(&window, r.notices);
    ShowMessage(&window, Sj(u8"%dコース追加しました\n").replace(0, 2, std::to_string(r.count)),
                Sj(u8"報告"));
}

void DropCustomFolder(DropTarget& target, const std::string& path) {
    const std::string file = Shorten(path);
    if (!target.RootRefused(file)) target.AddCustomFolderRoot(file);
}

class WindowDropTarget final : public DropTarget {
  public:
    explicit WindowDropTarget(MainWindow& window) : window_(window) {}
    bool JukeboxShown() const override { return window_.Tabs()->currentIndex() == 1; }
    // The tree supplies these; the window alone has no items.
    std::optional<DropItem> SelectedItem() override { return std::nullopt; }
    std::optional<DropItem> ParentOf(const DropItem&) override { return std::nullopt; }
    void Select(const DropItem&) override {}
    void RepopulateItem(const DropItem&) override {}
    DropItem AddFolderItem(const DropItem& parent, const std::string& name) override {
        return {0, name, parent.path + name + "\\", 4};
    }
    bool RootRefused(const std::string&) override { return true; }
    void AddRootFolder(const std::string&) override {}
    void AddCustomFolderRoot(const std::string&) override {}
    void ConvertWavToOgg(const std::string&) override {}
    void ConvertBmpToPng(const std::string&) override {}
    void SearchHiddenCharts(const DropItem&) override {}
    void RefreshControls() override {}

  private:
    MainWindow& window_;
};

}  // namespace

DropKind ClassifyDrop(const std::string& path) {
    if (IsDirectory(path)) return DropKind::RootFolder;
    const std::string lower = Lower(path);
    if (EndsWith(lower, "qv5crs") || EndsWith(lower, "xml")) return DropKind::CourseList;
    if (EndsWith(lower, "bmp") || EndsWith(lower, "jpg") || EndsWith(path, "png") ||
        EndsWith(path, "gif"))
        return DropKind::Wallpaper;
    if (EndsWith(path, "qv5folder")) return DropKind::CustomFolder;
    if (EndsWith(lower, ".bms") || EndsWith(lower, ".bme") || EndsWith(lower, ".pms") ||
        EndsWith(lower, ".bml"))
        return DropKind::Chart;
    if (EndsWith(lower, ".zip")) return DropKind::Zip;
    if (EndsWith(lower, ".rar")) return DropKind::Rar;
    return DropKind::Ignored;
}

void HandleDrop(MainWindow& window, DropTarget& target, const std::vector<std::string>& paths) {
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
                if (!DropWallpaper(window, path)) return;
                break;
            case DropKind::CustomFolder:
                DropCustomFolder(target, path);
                break;
            case DropKind::Chart:
                DropChart(window, target, path);
                break;
            case DropKind::Zip:
            case DropKind::Rar:
                if (!DropArchive(window, target, state, path)) return;
                break;
            case DropKind::Ignored:
                break;
        }
    }
}

std::unique_ptr<DropTarget> MakeWindowDropTarget(MainWindow& window) {
    return std::make_unique<WindowDropTarget>(window);
}

// Paths come whole, however long; one the program cannot name is said so.
void OnDropFiles(MainWindow& window, const QList<QUrl>& urls) {
    std::vector<std::string> paths;
    for (const QUrl& url : urls) {
        if (!url.isLocalFile()) continue;
        const std::string host = url.toLocalFile().toStdString();
        auto internal = FromHostPath(host);
        if (!internal) {
            ShowMessage(&window,
                        Sj(u8"このファイル名はShift-JISで表せないため扱えません。\n") +
                            Utf8ToCp932Lossy(host),
                        Sj(u8"エラー"));
            continue;
        }
        paths.push_back(*internal);
    }
    auto target = MakeWindowDropTarget(window);
    HandleDrop(window, *target, paths);
}

}  // namespace qv5
