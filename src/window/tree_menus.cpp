// The folder tree's context menus and its drag feedback.
#include <QContextMenuEvent>
#include <QDragEnterEvent>
#include <QMenu>

#include "window/controls.h"
#include "window/folder_tree.h"
#include "platform/text.h"

namespace qv5 {
namespace {

struct MenuEntry {
    int id;
    const char8_t* caption;
};

const std::vector<MenuEntry>& Entries(ItemKind kind) {
    static const std::vector<MenuEntry> root = {{32830, u8"エクスプローラで開く"},
                                                {32831, u8"更新"},
                                                {32832, u8"新しいフォルダ"},
                                                {32834, u8"ルートフォルダ名の変更"},
                                                {32845, u8"切り取り"},
                                                {32843, u8"貼り付け"},
                                                {32833, u8"ライブラリから除外"},
                                                {32857, u8"wav → ogg 変換"},
                                                {32859, u8"ogg → wav 変換"},
                                                {32872, u8"bmp → png 変換"},
                                                {32873, u8"png → bmp 変換"},
                                                {32874, u8"wav・bmp → ogg・png 変換"}};
    static const std::vector<MenuEntry> folder = {{32806, u8"エクスプローラで開く"},
                                                  {32807, u8"更新"},
                                                  {32808, u8"フォルダ名の変更"},
                                                  {32840, u8"切り取り"},
                                                  {32841, u8"貼り付け"},
                                                  {32810, u8"新しいフォルダ"},
                                                  {32811, u8"フォルダの削除"},
                                                  {32812, u8"隠し譜面の検索"},
                                                  {32814, u8"wav → ogg 変換"},
                                                  {32815, u8"ogg → wav 変換"},
                                                  {32864, u8"bmp → png 変換"},
                                                  {32865, u8"png → bmp 変換"},
                                                  {32866, u8"wav・bmp → ogg・png 変換"}};
    static const std::vector<MenuEntry> chart = {{32821, u8"プレイ"},
                                                 {32837, u8"オートプレイ"},
                                                 {32879, u8"タグ編集"},
                                                 {32823, u8"BMSエディタで編集"},
                                                 {32824, u8"ランキングページ"},
                                                 {32825, u8"メモ帳で開く"},
                                                 {32826, u8"譜面ファイル名の変更"},
                                                 {32827, u8"ファイルの削除"},
                                                 {32856, u8"動画作成（オートプレイ）"},
                                                 {32876, u8"動画作成（BGAのみ）"},
                                                 {32875, u8"動画作成（リプレイ）"},
                                                 {32855, u8"BGM作成（wav）"},
                                                 {32854, u8"BGM作成（mp3）"}};
    static const std::vector<MenuEntry> other = {
        {32836, u8"メモ帳で開く"}, {32828, u8"ファイル名の変更"}, {32829, u8"ファイルの削除"}};
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
            QAction* action = menu->addAction(QString::fromUtf8(e.caption));
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
    Tell(
        Sj(u8"現在ツリー内ファイルドラッグ機能は利用できません。\n"
           u8"右クリックメニューの切り取り・貼り付けを用いてください。"));
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
