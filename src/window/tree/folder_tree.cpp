#include "window/tree/folder_tree.h"

#include <QElapsedTimer>
#include <QMouseEvent>
#include <algorithm>
#include <set>

#include "browser/root_list.h"
#include "library/chart_names.h"
#include "platform/files.h"
#include "platform/shell.h"
#include "platform/text.h"
#include "platform/ui_service.h"
#include "platform/win_path.h"
#include "window/common/controls.h"
#include "window/common/progress_window.h"
#include "window/dialogs/name_dialog.h"
#include "window/tree/tree_icons.h"

namespace qv5 {
namespace {

constexpr int kNormalRole = Qt::UserRole;
constexpr int kSelectedRole = Qt::UserRole + 1;
constexpr int kTextRole = Qt::UserRole + 2;  // the name's own CP932 bytes

// Siblings are ordered without regard to the case of ASCII letters.
bool SortsBefore(const std::string& a, const std::string& b) {
    const std::string la = LowerAscii(a), lb = LowerAscii(b);
    return la != lb ? la < lb : a < b;
}

struct Shown {
    int child_normal, child_selected, parent_normal, parent_selected;
};

// Which files the tree shows, by the end of their lower-case name.
std::optional<Shown> ShownFile(const std::string& name) {
    const std::string lower = LowerAscii(name);
    auto ends = [&](std::initializer_list<const char*> tails) {
        return std::any_of(tails.begin(), tails.end(),
                           [&](const char* t) { return EndsWith(lower, t); });
    };
    if (IsChartName(name)) return Shown{kIconChart, kIconChart, kIconFolder, kIconFolderOpen};
    if (ends({".txt", ".htm", ".html", ".qv5folder"}))
        return Shown{kIconDocument, kIconDocument, kIconFolder, kIconFolderOpen};
    if (ends({".bmx", ".xxx", ".bm_", ".b__", ".bms_", ".bme_", ".bml_", ".pms_"}))
        return Shown{kIconHidden, kIconHidden, kIconHidden, kIconHidden};
    return std::nullopt;
}

QTreeWidgetItem* NewItem(const std::string& name, int normal, int selected) {
    auto* item = new QTreeWidgetItem;
    item->setText(0, ToQString(name));
    item->setData(0, kTextRole, QByteArray(name.data(), qsizetype(name.size())));
    FolderTree::SetIcons(item, normal, selected);
    return item;
}

}  // namespace

namespace {

// Work that ends at once (refreshing a folder of ten charts) shows no window
// flashing by: the progress window opens once the work has run for a moment.
class DeferredProgressWindow final : public Progress {
  public:
    DeferredProgressWindow(QWidget* owner, std::string title)
        : owner_(owner), title_(std::move(title)) {
        started_.start();
    }
    void Update(long done, long total, const std::string& current) override {
        if (Shown()) window_->Update(done, total, current);
        Follow();
    }
    void SetStatus(const std::string& text) override {
        if (Shown()) window_->SetStatus(text);
        Follow();
    }
    void SetUnit(const std::string& unit) override {
        unit_ = unit;
        if (window_) window_->SetUnit(unit);
    }

  private:
    static constexpr qint64 kDelayMs = 300;
    bool Shown() {
        if (!window_ && started_.elapsed() >= kDelayMs) {
            window_ = std::make_unique<ProgressWindow>(owner_, title_);
            if (!unit_.empty()) window_->SetUnit(unit_);
        }
        return window_ != nullptr;
    }
    void Follow() {
        if (window_ && window_->StopRequested()) RequestStop();
    }
    QWidget* owner_;
    std::string title_, unit_;
    QElapsedTimer started_;
    std::unique_ptr<ProgressWindow> window_;
};

}  // namespace

std::unique_ptr<Progress> OpenProgressWindow(QWidget* owner, const std::string& title) {
    return std::make_unique<DeferredProgressWindow>(owner, title);
}

FolderTree::FolderTree(QWidget* parent) : QTreeWidget(parent), names_(new NameDialog(this)) {
    SetControlId(this, kFolderTreeControl);
    setHeaderHidden(true);
    setRootIsDecorated(false);  // no expand buttons: a double click opens a level
    setItemsExpandable(true);
    setExpandsOnDoubleClick(true);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setIconSize(QSize(16, 16));
    setUniformRowHeights(true);
    // A drag shows where it would go but never moves anything (see dropEvent).
    setDragEnabled(true);
    setDragDropMode(QAbstractItemView::DragDrop);
    setDefaultDropAction(Qt::CopyAction);
    // The selection stays visible while another control has the focus.
    QPalette pal = palette();
    for (auto role : {QPalette::Highlight, QPalette::HighlightedText})
        pal.setColor(QPalette::Inactive, role, pal.color(QPalette::Active, role));
    setPalette(pal);

    BuildMenus();
    connect(this, &QTreeWidget::itemDoubleClicked, this,
            [this](QTreeWidgetItem* item) { OnDoubleClick(item); });
    connect(this, &QTreeWidget::itemSelectionChanged, this, [this] {
        QTreeWidgetItem* item = currentItem();
        if (item && hooks.show_info) hooks.show_info(ItemPath(item));
    });
}

FolderTree::~FolderTree() = default;

std::string FolderTree::ItemText(const QTreeWidgetItem* item) {
    const QByteArray bytes = item->data(0, kTextRole).toByteArray();
    return std::string(bytes.constData(), size_t(bytes.size()));
}

std::string FolderTree::ItemPath(const QTreeWidgetItem* item) {
    if (!item) return "_ERROR_";
    std::string path = ItemText(item);
    for (const QTreeWidgetItem* p = item->parent(); p; p = p->parent())
        path = WinPath(ItemText(p)).Join(path).text();
    return path;
}

int FolderTree::NormalIcon(const QTreeWidgetItem* item) {
    return item->data(0, kNormalRole).toInt();
}

void FolderTree::SetIcons(QTreeWidgetItem* item, int normal, int selected) {
    if (item->data(0, kNormalRole) == normal && item->data(0, kSelectedRole) == selected) return;
    item->setData(0, kNormalRole, normal);
    item->setData(0, kSelectedRole, selected);
    item->setIcon(0, TreeIconPair(normal, selected));
}

ItemKind FolderTree::KindOf(const QTreeWidgetItem* item) const {
    if (!item->parent()) return ItemKind::Root;
    const int icon = NormalIcon(item);
    if (icon == kIconFolder || icon == kIconNewFolder) return ItemKind::Folder;
    const std::string path = ItemPath(item);
    // A folder marked for a hidden chart inside is still a folder.
    if (icon == kIconHidden && IsDirectory(path)) return ItemKind::Folder;
    // The menu goes by the exact ending, as it always has: "A.BMS" gets the
    // menu of a file, though the tree shows it as a chart.
    for (const char* tail : {"bms", "bml", "bme", "pms"})
        if (EndsWith(path, tail)) return ItemKind::Chart;
    return ItemKind::OtherFile;
}

// Icons: a folder gets the open folder pair as soon as something is shown in
// it, the question mark when the last entry shown is a hidden chart
// candidate; a custom-folder root keeps the document icon.
void FolderTree::Populate(const WinPath& path_path, QTreeWidgetItem* parent) {
    const std::string& path = path_path.text();
    if (IsCustomFolderName(path)) {
        SetIcons(parent, kIconDocument, kIconDocument);
        return;
    }
    std::vector<DirEntry> entries;
    if (!ListFolder(path, entries, ListDetail::NamesAndKinds)) return;
    struct Entry {
        std::string key;  // the sort key, computed once per entry
        const std::string* name;
        int normal, selected;
    };
    std::vector<Entry> shown;
    shown.reserve(entries.size());
    std::optional<std::pair<int, int>> parent_icons;
    for (const DirEntry& e : entries) {
        if (e.system) continue;
        if (e.directory) {
            shown.push_back({LowerAscii(e.name), &e.name, kIconFolder, kIconFolder});
            parent_icons = {kIconFolder, kIconFolderOpen};
        } else if (auto file = ShownFile(e.name)) {
            shown.push_back(
                {LowerAscii(e.name), &e.name, file->child_normal, file->child_selected});
            parent_icons = {file->parent_normal, file->parent_selected};
        }
    }
    if (parent_icons) SetIcons(parent, parent_icons->first, parent_icons->second);
    if (parent->childCount() == 0) {
        // One insertion for a whole folder: a folder of thousands lists at once.
        std::sort(shown.begin(), shown.end(), [](const Entry& a, const Entry& b) {
            return a.key != b.key ? a.key < b.key : *a.name < *b.name;
        });
        QList<QTreeWidgetItem*> items;
        items.reserve(qsizetype(shown.size()));
        for (const Entry& e : shown) items.push_back(NewItem(*e.name, e.normal, e.selected));
        parent->addChildren(items);
        return;
    }
    QList<QTreeWidgetItem*> items;
    for (const Entry& e : shown) items.push_back(NewItem(*e.name, e.normal, e.selected));
    for (QTreeWidgetItem* item : items)
        parent->insertChild(SortedIndex(parent, ItemText(item)), item);
}

void FolderTree::Repopulate(QTreeWidgetItem* item) {
    for (int i = item->childCount() - 1; i >= 0; --i) ForgetItem(item->child(i));
    qDeleteAll(item->takeChildren());
    std::string path = ItemPath(item);
    if (!IsCustomFolderName(path)) path = WinPath(path).AsFolder().text();
    Populate(WinPath(path), item);
}

void FolderTree::FollowDisk() {
    std::vector<QTreeWidgetItem*> listed;
    for (int i = 0; i < topLevelItemCount(); ++i) listed.push_back(topLevelItem(i));
    while (!listed.empty()) {
        QTreeWidgetItem* item = listed.back();
        listed.pop_back();
        if (item->childCount() == 0) continue;  // never opened: listed when it is
        std::string path = ItemPath(item);
        if (IsCustomFolderName(path)) continue;
        path = WinPath(path).AsFolder().text();
        QTreeWidgetItem fresh;
        Populate(WinPath(path), &fresh);
        std::set<std::string> on_disk;
        for (int i = 0; i < fresh.childCount(); ++i) on_disk.insert(ItemText(fresh.child(i)));
        std::set<std::string> shown;
        for (int i = item->childCount() - 1; i >= 0; --i) {
            QTreeWidgetItem* child = item->child(i);
            if (on_disk.count(ItemText(child)))
                shown.insert(ItemText(child));
            else
                RemoveItem(child);
        }
        for (QTreeWidgetItem* child : fresh.takeChildren()) {
            if (shown.count(ItemText(child))) {
                delete child;
                continue;
            }
            item->insertChild(SortedIndex(item, ItemText(child)), child);
        }
        for (int i = 0; i < item->childCount(); ++i) listed.push_back(item->child(i));
    }
}

QTreeWidgetItem* FolderTree::InsertRoot(const WinPath& path_path) {
    const std::string& path = path_path.text();
    QTreeWidgetItem* item = NewItem(path, kIconFolder, kIconFolder);
    addTopLevelItem(item);
    Populate(WinPath(path), item);
    return item;
}

std::vector<std::string> FolderTree::RootTexts() const {
    std::vector<std::string> roots;
    roots.reserve(size_t(topLevelItemCount()));
    for (int i = 0; i < topLevelItemCount(); ++i) roots.push_back(ItemText(topLevelItem(i)));
    return roots;
}

void FolderTree::RemoveItem(QTreeWidgetItem* item) {
    ForgetItem(item);
    delete item;
}

void FolderTree::ClearRoots() {
    current_ = nullptr;
    cut_item = nullptr;
    clear();
}

QTreeWidgetItem* FolderTree::InsertChild(QTreeWidgetItem* parent, const std::string& name,
                                         int normal, int selected) {
    QTreeWidgetItem* item = NewItem(name, normal, selected);
    parent->insertChild(SortedIndex(parent, name), item);
    return item;
}

int FolderTree::SortedIndex(const QTreeWidgetItem* parent, const std::string& name) {
    int lo = 0, hi = parent->childCount();
    while (lo < hi) {
        const int mid = (lo + hi) / 2;
        if (SortsBefore(name, ItemText(parent->child(mid))))
            hi = mid;
        else
            lo = mid + 1;
    }
    return lo;
}

QTreeWidgetItem* FolderTree::InsertNewFolderItem(QTreeWidgetItem* parent, const std::string& name) {
    QTreeWidgetItem* item = InsertChild(parent, name, kIconNewFolder, kIconNewFolderOpen);
    Populate(WinPath(ItemPath(item)).AsFolder(), item);
    SetIcons(item, kIconNewFolder, kIconNewFolderOpen);
    parent->setExpanded(true);
    setCurrentItem(item);
    scrollToItem(item);
    current_ = item;
    return item;
}

QTreeWidgetItem* FolderTree::AddHiddenChartItem(QTreeWidgetItem* folder, const std::string& name) {
    for (int i = 0; i < folder->childCount(); ++i) {
        QTreeWidgetItem* child = folder->child(i);
        if (ItemText(child) != name) continue;
        SetIcons(child, kIconHidden, kIconHidden);
        return child;
    }
    return InsertChild(folder, name, kIconHidden, kIconHidden);
}

void FolderTree::SetCurrent(QTreeWidgetItem* item) {
    current_ = item;
    if (item) setCurrentItem(item);
}

std::string FolderTree::SelectedFolderPath() const {
    QTreeWidgetItem* item = currentItem();
    if (!item) return {};
    const ItemKind kind = KindOf(item);
    if (kind == ItemKind::Root || kind == ItemKind::Folder) return ItemPath(item);
    return ItemPath(item->parent());
}

void FolderTree::OnDoubleClick(QTreeWidgetItem* item) {
    if (!item) return;
    current_ = item;
    if (item->childCount() == 0) Repopulate(item);
    const int icon = NormalIcon(item);
    if (icon == kIconFolder || icon == kIconNewFolder || KindOf(item) == ItemKind::Folder) return;
    const std::string path = ItemPath(item);
    if (IsChartNameExactCase(path)) return;
    if (!item->parent() && !IsCustomFolderName(path)) return;  // a root folder
    if (EndsWith(path, ".htm") || EndsWith(path, ".html"))
        ShellOpen(path);
    else
        OpenInTextEditor(path);
}

void FolderTree::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        current_ = itemAt(event->position().toPoint());  // the click need not select
    QTreeWidget::mousePressEvent(event);
}

void FolderTree::Tell(const std::string& text, const std::string& caption) {
    ShowMessage(window(), text, caption.empty() ? kAppTitle : caption);
}

bool FolderTree::IsInside(const QTreeWidgetItem* item, const QTreeWidgetItem* ancestor) {
    for (; item; item = item->parent())
        if (item == ancestor) return true;
    return false;
}

void FolderTree::ForgetItem(QTreeWidgetItem* item) {
    if (IsInside(cut_item, item)) cut_item = nullptr;
    if (IsInside(current_, item)) current_ = nullptr;
}

}  // namespace qv5
