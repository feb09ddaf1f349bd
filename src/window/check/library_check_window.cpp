#include "window/check/library_check_window.h"

#include <QFont>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTabBar>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "library/chart_header.h"
#include "library/check_text.h"
#include "library/song_library.h"
#include "platform/files.h"
#include "platform/shell.h"
#include "platform/text.h"
#include "platform/tr.h"
#include "platform/ui_service.h"
#include "platform/win_path.h"
#include "window/common/job_summary.h"
#include "window/main/main_window.h"
#include "window/pages/jukebox_page.h"
#include "window/tree/folder_tree.h"
#include "window/tree/folder_tree_ids.h"
#include "window/tree/tree_reveal.h"

namespace qv5 {
namespace {

constexpr int kFindingRole = Qt::UserRole;   // index into the findings, -1 for a kind
constexpr int kPathRole = Qt::UserRole + 1;  // a duplicate's own file (CP932 bytes)

// The check's texts are UTF-8.
QString Q(const std::string& utf8) {
    return QString::fromStdString(utf8);
}

QString Text(const char* japanese) {
    return Q(CheckText(japanese));
}

// The folder of a path (a folder's own path ends with "\"), or the nearest
// folder above it that still exists.
std::string NearestFolder(std::string path) {
    if (path.empty()) return path;
    if (!WinPath(path).IsFolderForm()) path = WinPath(path).Parent().text();
    while (!path.empty() && !IsDirectory(path)) path = WinPath(path).Parent().text();
    return path;
}

}  // namespace

LibraryCheckWindow::LibraryCheckWindow(QWidget* owner, CheckResult result, CheckActions actions)
    : QDialog(owner), result_(std::move(result)), actions_(std::move(actions)) {
    setObjectName(QStringLiteral("LibraryCheckWindow"));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    summary_ = new QLabel(this);
    summary_->setTextFormat(Qt::PlainText);
    findings_ = new QTreeWidget(this);
    findings_->setObjectName(QStringLiteral("findings"));
    findings_->setHeaderHidden(true);
    findings_->setUniformRowHeights(true);
    findings_->setTextElideMode(Qt::ElideMiddle);
    auto button = [this](const char* name) {
        auto* b = new QPushButton(this);
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoDefault(false);
        return b;
    };
    show_ = button("showInTree");
    open_ = button("openFolder");
    refresh_ = button("refreshFolder");
    save_ = button("saveReport");
    close_ = button("close");
    connect(show_, &QPushButton::clicked, this, &LibraryCheckWindow::ShowInTree);
    connect(open_, &QPushButton::clicked, this, &LibraryCheckWindow::OpenFolder);
    connect(refresh_, &QPushButton::clicked, this, &LibraryCheckWindow::RefreshFolder);
    connect(save_, &QPushButton::clicked, this, &LibraryCheckWindow::SaveReport);
    connect(close_, &QPushButton::clicked, this, &QDialog::close);
    connect(findings_, &QTreeWidget::itemSelectionChanged, this, &LibraryCheckWindow::OnSelection);
    connect(findings_, &QTreeWidget::itemDoubleClicked, this, [this] { ShowInTree(); });
    auto* row = new QHBoxLayout;
    for (QPushButton* b : {show_, open_, refresh_}) row->addWidget(b);
    row->addStretch(1);
    row->addWidget(save_);
    row->addWidget(close_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(summary_);
    layout->addWidget(findings_, 1);
    layout->addLayout(row);
    resize(760, 460);
    Caption();
    Fill();
    OnSelection();
}

void LibraryCheckWindow::Caption() {
    setWindowTitle(Text(QT_TRANSLATE_NOOP("LibraryCheck", "ライブラリの検査")));
    show_->setText(Text(QT_TRANSLATE_NOOP("LibraryCheck", "フォルダツリーで表示")));
    open_->setText(Text(QT_TRANSLATE_NOOP("LibraryCheck", "フォルダを開く")));
    refresh_->setText(Text(QT_TRANSLATE_NOOP("LibraryCheck", "このフォルダを更新")));
    save_->setText(Text(QT_TRANSLATE_NOOP("LibraryCheck", "レポートを保存...")));
    close_->setText(Text(QT_TRANSLATE_NOOP("LibraryCheck", "閉じる")));
    QString summary = Q(CheckSummary(result_));
    if (result_.findings.empty())
        summary += u'\n' + Text(QT_TRANSLATE_NOOP("LibraryCheck", "問題は見つかりませんでした。"));
    summary_->setText(summary);
}

QTreeWidgetItem* LibraryCheckWindow::AddFinding(QTreeWidgetItem* parent, size_t i) {
    const CheckFinding& f = result_.findings[i];
    auto* item = new QTreeWidgetItem(parent);
    item->setText(0, Q(FindingText(f)));
    item->setToolTip(0, item->text(0));
    item->setData(0, kFindingRole, int(i));
    for (const CheckFile& file : f.files) {
        auto* child = new QTreeWidgetItem(item);
        child->setText(0, Q(DuplicateFileText(file)));
        child->setData(0, kFindingRole, int(i));
        child->setData(0, kPathRole, QByteArray(file.path.data(), qsizetype(file.path.size())));
    }
    item->setExpanded(!f.files.empty());
    items_[i] = item;
    return item;
}

// The kinds a player acts on at once come first and open; the missing
// files, often thousands, come last, closed, one group per chart folder.
void LibraryCheckWindow::Fill() {
    findings_->clear();
    items_.assign(result_.findings.size(), nullptr);
    for (const CheckKind kind : kReportOrder) {
        auto* group = new QTreeWidgetItem(findings_);
        group->setText(0,
                       QStringLiteral("%1 (%2)").arg(Q(KindTitle(kind))).arg(result_.Count(kind)));
        group->setData(0, kFindingRole, -1);
        if (kind == CheckKind::Missing) {
            for (const MissingGroup& g : MissingByFolder(result_)) {
                auto* folder = new QTreeWidgetItem(group);
                folder->setText(0, Q(MissingGroupText(g)));
                folder->setToolTip(0, folder->text(0));
                folder->setData(0, kFindingRole, -1);
                for (const size_t i : g.findings) AddFinding(folder, i);
            }
            group->setExpanded(false);
            continue;
        }
        for (size_t i = 0; i < result_.findings.size(); ++i)
            if (KindOf(result_.findings[i].reason) == kind) AddFinding(group, i);
        group->setExpanded(true);
    }
}

bool LibraryCheckWindow::IsDone(size_t finding) const {
    return finding < done_.size() && done_[finding];
}

// What a refresh of `folder` mends: the rows and charts out of date below it.
void LibraryCheckWindow::MarkDoneBelow(const std::string& folder) {
    done_.resize(result_.findings.size(), false);
    const WinPath below(folder);
    for (size_t i = 0; i < result_.findings.size(); ++i) {
        const CheckFinding& f = result_.findings[i];
        if (KindOf(f.reason) != CheckKind::OutOfDate || done_[i]) continue;
        if (!WinPath(f.path).IsWithin(below)) continue;
        done_[i] = true;
        QTreeWidgetItem* item = items_[i];
        if (!item) continue;
        item->setText(0, Text(QT_TRANSLATE_NOOP("LibraryCheck", "済: %1")).arg(Q(FindingText(f))));
        QFont font = item->font(0);
        font.setStrikeOut(true);
        item->setFont(0, font);
        item->setForeground(0, palette().brush(QPalette::Disabled, QPalette::Text));
    }
}

const CheckFinding* LibraryCheckWindow::SelectedFinding() const {
    const QTreeWidgetItem* item = findings_->currentItem();
    if (!item || !item->isSelected()) return nullptr;
    const int index = item->data(0, kFindingRole).toInt();
    return index < 0 || size_t(index) >= result_.findings.size() ? nullptr
                                                                 : &result_.findings[size_t(index)];
}

std::string LibraryCheckWindow::SelectedPath() const {
    const CheckFinding* f = SelectedFinding();
    if (!f) return {};
    const QByteArray own = findings_->currentItem()->data(0, kPathRole).toByteArray();
    return own.isEmpty() ? f->path : std::string(own.constData(), size_t(own.size()));
}

std::string LibraryCheckWindow::SelectedFolder() const {
    return NearestFolder(SelectedPath());
}

void LibraryCheckWindow::OnSelection() {
    const CheckFinding* f = SelectedFinding();
    show_->setEnabled(f != nullptr);
    open_->setEnabled(f != nullptr);
    refresh_->setEnabled(f && KindOf(f->reason) == CheckKind::OutOfDate);
}

void LibraryCheckWindow::ShowInTree() {
    const std::string path = SelectedPath();
    if (!path.empty() && actions_.show_in_tree) actions_.show_in_tree(path);
}

void LibraryCheckWindow::OpenFolder() {
    const std::string folder = SelectedFolder();
    if (!folder.empty()) ShellOpen("\"" + folder + "\"");
}

void LibraryCheckWindow::RefreshFolder() {
    // A song folder that is gone has its root item still: its refresh
    // drops the rows of what was in it.
    const CheckFinding* f = SelectedFinding();
    const std::string folder =
        f && f->reason == CheckReason::SongFolderMissing ? f->path : SelectedFolder();
    if (!folder.empty() && actions_.refresh_folder && actions_.refresh_folder(folder))
        MarkDoneBelow(folder);
}

void LibraryCheckWindow::SaveReport() {
    const auto file = Ui().SaveFile(
        this, "library-check.txt", "txt",
        Tr("LibraryCheck", "テキストファイル (*.txt)") + "|*.txt|All Files(*.*)|*.*||");
    if (!file) return;
    if (WriteFileAtomic(*file, ReportText(result_))) return;
    ShowMessage(
        this,
        Tr("LibraryCheck", "レポートを保存できませんでした。") + "\n" + HostPathForMessage(*file),
        Tr("LibraryCheck", "エラー"), MsgIcon::Error);
}

}  // namespace qv5
