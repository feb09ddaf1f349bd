// The folder tree's context menus and its drag feedback.
#include <QContextMenuEvent>
#include <QDragEnterEvent>
#include <QMenu>

#include "platform/text.h"
#include "platform/tr.h"
#include "window/common/controls.h"
#include "window/common/recaption.h"
#include "window/tree/folder_tree.h"

namespace qv5 {
namespace {

struct MenuEntry {
    int id;
    const char* caption;
};

const std::vector<MenuEntry>& Entries(ItemKind kind) {
    static const std::vector<MenuEntry> root = {
        {kCmdRootOpen, QT_TRANSLATE_NOOP("FolderTree", "エクスプローラで開く")},
        {kCmdRootRefresh, QT_TRANSLATE_NOOP("FolderTree", "更新")},
        {kCmdRootNewFolder, QT_TRANSLATE_NOOP("FolderTree", "新しいフォルダ")},
        {kCmdRootRename, QT_TRANSLATE_NOOP("FolderTree", "ルートフォルダ名の変更")},
        {kCmdRootCut, QT_TRANSLATE_NOOP("FolderTree", "切り取り")},
        {kCmdRootPaste, QT_TRANSLATE_NOOP("FolderTree", "貼り付け")},
        {kCmdRootExclude, QT_TRANSLATE_NOOP("FolderTree", "ライブラリから除外")},
        {kCmdRootWavToOgg, QT_TRANSLATE_NOOP("FolderTree", "wav → ogg 変換")},
        {kCmdRootOggToWav, QT_TRANSLATE_NOOP("FolderTree", "ogg → wav 変換")},
        {kCmdRootBmpToPng, QT_TRANSLATE_NOOP("FolderTree", "bmp → png 変換")},
        {kCmdRootPngToBmp, QT_TRANSLATE_NOOP("FolderTree", "png → bmp 変換")},
        {kCmdRootWavAndBmp, QT_TRANSLATE_NOOP("FolderTree", "wav・bmp → ogg・png 変換")}};
    static const std::vector<MenuEntry> folder = {
        {kCmdFolderOpen, QT_TRANSLATE_NOOP("FolderTree", "エクスプローラで開く")},
        {kCmdFolderRefresh, QT_TRANSLATE_NOOP("FolderTree", "更新")},
        {kCmdFolderRename, QT_TRANSLATE_NOOP("FolderTree", "フォルダ名の変更")},
        {kCmdFolderCut, QT_TRANSLATE_NOOP("FolderTree", "切り取り")},
        {kCmdFolderPaste, QT_TRANSLATE_NOOP("FolderTree", "貼り付け")},
        {kCmdFolderNewFolder, QT_TRANSLATE_NOOP("FolderTree", "新しいフォルダ")},
        {kCmdFolderDelete, QT_TRANSLATE_NOOP("FolderTree", "フォルダの削除")},
        {kCmdFolderHiddenSearch, QT_TRANSLATE_NOOP("FolderTree", "隠し譜面の検索")},
        {kCmdFolderWavToOgg, QT_TRANSLATE_NOOP("FolderTree", "wav → ogg 変換")},
        {kCmdFolderOggToWav, QT_TRANSLATE_NOOP("FolderTree", "ogg → wav 変換")},
        {kCmdFolderBmpToPng, QT_TRANSLATE_NOOP("FolderTree", "bmp → png 変換")},
        {kCmdFolderPngToBmp, QT_TRANSLATE_NOOP("FolderTree", "png → bmp 変換")},
        {kCmdFolderWavAndBmp, QT_TRANSLATE_NOOP("FolderTree", "wav・bmp → ogg・png 変換")}};
    static const std::vector<MenuEntry> chart = {
        {kCmdPlayChart, QT_TRANSLATE_NOOP("FolderTree", "プレイ")},
        {kCmdAutoplayChart, QT_TRANSLATE_NOOP("FolderTree", "オートプレイ")},
        {kCmdChartTags, QT_TRANSLATE_NOOP("FolderTree", "タグ編集")},
        {kCmdChartBmsEditor, QT_TRANSLATE_NOOP("FolderTree", "BMSエディタで編集")},
        {kCmdChartRanking, QT_TRANSLATE_NOOP("FolderTree", "ランキングページ")},
        {kCmdChartTextEditor, QT_TRANSLATE_NOOP("FolderTree", "メモ帳で開く")},
        {kCmdChartRename, QT_TRANSLATE_NOOP("FolderTree", "譜面ファイル名の変更")},
        {kCmdChartDelete, QT_TRANSLATE_NOOP("FolderTree", "ファイルの削除")},
        {kCmdMovieAutoplay, QT_TRANSLATE_NOOP("FolderTree", "動画作成（オートプレイ）")},
        {kCmdMovieBgaOnly, QT_TRANSLATE_NOOP("FolderTree", "動画作成（BGAのみ）")},
        {kCmdMovieReplay, QT_TRANSLATE_NOOP("FolderTree", "動画作成（リプレイ）")},
        {kCmdBgmWav, QT_TRANSLATE_NOOP("FolderTree", "BGM作成（wav）")},
        {kCmdBgmMp3, QT_TRANSLATE_NOOP("FolderTree", "BGM作成（mp3）")}};
    static const std::vector<MenuEntry> other = {
        {kCmdFileTextEditor, QT_TRANSLATE_NOOP("FolderTree", "メモ帳で開く")},
        {kCmdFileRename, QT_TRANSLATE_NOOP("FolderTree", "ファイル名の変更")},
        {kCmdFileDelete, QT_TRANSLATE_NOOP("FolderTree", "ファイルの削除")}};
    switch (kind) {
        case ItemKind::Root:
            return root;
        case ItemKind::Folder:
            return folder;
        case ItemKind::Chart:
            return chart;
        case ItemKind::OtherFile:
            break;
    }
    return other;
}

}  // namespace

void FolderTree::BuildMenus() {
    for (ItemKind kind : {ItemKind::Root, ItemKind::Folder, ItemKind::Chart, ItemKind::OtherFile}) {
        auto* menu = new QMenu(this);
        menu->setObjectName(QStringLiteral("menu%1").arg(int(kind)));
        for (const MenuEntry& e : Entries(kind)) {
            QAction* action = menu->addAction(QString());
            SetCaption(action, "text", "FolderTree", e.caption);
            SetControlId(action, e.id);
            connect(action, &QAction::triggered, this, [this, id = e.id] { RunCommand(id); });
        }
    }
}

const std::vector<int>& FolderTree::MenuCommands(ItemKind kind) {
    static const auto ids = [] {
        std::vector<std::vector<int>> all;
        for (ItemKind k :
             {ItemKind::Root, ItemKind::Folder, ItemKind::Chart, ItemKind::OtherFile}) {
            all.emplace_back();
            for (const MenuEntry& e : Entries(k)) all.back().push_back(e.id);
        }
        return all;
    }();
    return ids[size_t(kind)];
}

void FolderTree::OnDragRelease(QTreeWidgetItem* dragged, QTreeWidgetItem* target) {
    if (!dragged || !target || IsInside(target, dragged)) return;
    Tell(Tr("FolderTree",
            "現在ツリー内ファイルドラッグ機能は利用できません。\n"
            "右クリックメニューの切り取り・貼り付けを用いてください。"));
}

void FolderTree::contextMenuEvent(QContextMenuEvent* event) {
    QTreeWidgetItem* item = itemAt(event->pos());  // viewport coordinates
    if (!item) return;
    SetCurrent(item);
    auto* menu = findChild<QMenu*>(QStringLiteral("menu%1").arg(int(KindOf(item))));
    if (menu) menu->exec(event->globalPos());
}

// Drags from outside (files from the desktop) belong to the main window.
void FolderTree::dragEnterEvent(QDragEnterEvent* event) {
    if (event->source() == this)
        QTreeWidget::dragEnterEvent(event);
    else
        event->ignore();
}

void FolderTree::dragMoveEvent(QDragMoveEvent* event) {
    if (event->source() != this) {
        event->ignore();
        return;
    }
    QTreeWidget::dragMoveEvent(event);
    event->accept();
}

void FolderTree::dropEvent(QDropEvent* event) {
    if (event->source() != this) {
        event->ignore();
        return;
    }
    event->setDropAction(Qt::CopyAction);
    event->accept();
    setState(NoState);
    viewport()->update();
    OnDragRelease(currentItem(), itemAt(event->position().toPoint()));
}

}  // namespace qv5
