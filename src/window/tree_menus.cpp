// The folder tree's context menus and its drag feedback.
#include <QContextMenuEvent>
#include <QDragEnterEvent>
#include <QMenu>

#include "window/controls.h"
#include "window/folder_tree.h"
#include "platform/text.h"
#include "platform/tr.h"
#include "window/recaption.h"

namespace qv5 {
namespace {

struct MenuEntry {
    int id;
    const char* caption;
};

const std::vector<MenuEntry>& Entries(ItemKind kind) {
    static const std::vector<MenuEntry> root = {
        {32830, QT_TRANSLATE_NOOP("FolderTree", "エクスプローラで開く")},
        {32831, QT_TRANSLATE_NOOP("FolderTree", "更新")},
        {32832, QT_TRANSLATE_NOOP("FolderTree", "新しいフォルダ")},
        {32834, QT_TRANSLATE_NOOP("FolderTree", "ルートフォルダ名の変更")},
        {32845, QT_TRANSLATE_NOOP("FolderTree", "切り取り")},
        {32843, QT_TRANSLATE_NOOP("FolderTree", "貼り付け")},
        {32833, QT_TRANSLATE_NOOP("FolderTree", "ライブラリから除外")},
        {32857, QT_TRANSLATE_NOOP("FolderTree", "wav → ogg 変換")},
        {32859, QT_TRANSLATE_NOOP("FolderTree", "ogg → wav 変換")},
        {32872, QT_TRANSLATE_NOOP("FolderTree", "bmp → png 変換")},
        {32873, QT_TRANSLATE_NOOP("FolderTree", "png → bmp 変換")},
        {32874, QT_TRANSLATE_NOOP("FolderTree", "wav・bmp → ogg・png 変換")}};
    static const std::vector<MenuEntry> folder = {
        {32806, QT_TRANSLATE_NOOP("FolderTree", "エクスプローラで開く")},
        {32807, QT_TRANSLATE_NOOP("FolderTree", "更新")},
        {32808, QT_TRANSLATE_NOOP("FolderTree", "フォルダ名の変更")},
        {32840, QT_TRANSLATE_NOOP("FolderTree", "切り取り")},
        {32841, QT_TRANSLATE_NOOP("FolderTree", "貼り付け")},
        {32810, QT_TRANSLATE_NOOP("FolderTree", "新しいフォルダ")},
        {32811, QT_TRANSLATE_NOOP("FolderTree", "フォルダの削除")},
        {32812, QT_TRANSLATE_NOOP("FolderTree", "隠し譜面の検索")},
        {32814, QT_TRANSLATE_NOOP("FolderTree", "wav → ogg 変換")},
        {32815, QT_TRANSLATE_NOOP("FolderTree", "ogg → wav 変換")},
        {32864, QT_TRANSLATE_NOOP("FolderTree", "bmp → png 変換")},
        {32865, QT_TRANSLATE_NOOP("FolderTree", "png → bmp 変換")},
        {32866, QT_TRANSLATE_NOOP("FolderTree", "wav・bmp → ogg・png 変換")}};
    static const std::vector<MenuEntry> chart = {
        {32821, QT_TRANSLATE_NOOP("FolderTree", "プレイ")},
        {32837, QT_TRANSLATE_NOOP("FolderTree", "オートプレイ")},
        {32879, QT_TRANSLATE_NOOP("FolderTree", "タグ編集")},
        {32823, QT_TRANSLATE_NOOP("FolderTree", "BMSエディタで編集")},
        {32824, QT_TRANSLATE_NOOP("FolderTree", "ランキングページ")},
        {32825, QT_TRANSLATE_NOOP("FolderTree", "メモ帳で開く")},
        {32826, QT_TRANSLATE_NOOP("FolderTree", "譜面ファイル名の変更")},
        {32827, QT_TRANSLATE_NOOP("FolderTree", "ファイルの削除")},
        {32856, QT_TRANSLATE_NOOP("FolderTree", "動画作成（オートプレイ）")},
        {32876, QT_TRANSLATE_NOOP("FolderTree", "動画作成（BGAのみ）")},
        {32875, QT_TRANSLATE_NOOP("FolderTree", "動画作成（リプレイ）")},
        {32855, QT_TRANSLATE_NOOP("FolderTree", "BGM作成（wav）")},
        {32854, QT_TRANSLATE_NOOP("FolderTree", "BGM作成（mp3）")}};
    static const std::vector<MenuEntry> other = {
        {32836, QT_TRANSLATE_NOOP("FolderTree", "メモ帳で開く")},
        {32828, QT_TRANSLATE_NOOP("FolderTree", "ファイル名の変更")},
        {32829, QT_TRANSLATE_NOOP("FolderTree", "ファイルの削除")}};
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
