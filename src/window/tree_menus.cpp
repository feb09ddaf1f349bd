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
    static const std::vector<MenuEntry> root = {{kCmdRootOpen, u8"エクスプローラで開く"},
                                                {kCmdRootRefresh, u8"更新"},
                                                {kCmdRootNewFolder, u8"新しいフォルダ"},
                                                {kCmdRootRename, u8"ルートフォルダ名の変更"},
                                                {kCmdRootCut, u8"切り取り"},
                                                {kCmdRootPaste, u8"貼り付け"},
                                                {kCmdRootExclude, u8"ライブラリから除外"},
                                                {kCmdRootWavToOgg, u8"wav → ogg 変換"},
                                                {kCmdRootOggToWav, u8"ogg → wav 変換"},
                                                {kCmdRootBmpToPng, u8"bmp → png 変換"},
                                                {kCmdRootPngToBmp, u8"png → bmp 変換"},
                                                {kCmdRootWavAndBmp, u8"wav・bmp → ogg・png 変換"}};
    static const std::vector<MenuEntry> folder = {
        {kCmdFolderOpen, u8"エクスプローラで開く"},
        {kCmdFolderRefresh, u8"更新"},
        {kCmdFolderRename, u8"フォルダ名の変更"},
        {kCmdFolderCut, u8"切り取り"},
        {kCmdFolderPaste, u8"貼り付け"},
        {kCmdFolderNewFolder, u8"新しいフォルダ"},
        {kCmdFolderDelete, u8"フォルダの削除"},
        {kCmdFolderHiddenSearch, u8"隠し譜面の検索"},
        {kCmdFolderWavToOgg, u8"wav → ogg 変換"},
        {kCmdFolderOggToWav, u8"ogg → wav 変換"},
        {kCmdFolderBmpToPng, u8"bmp → png 変換"},
        {kCmdFolderPngToBmp, u8"png → bmp 変換"},
        {kCmdFolderWavAndBmp, u8"wav・bmp → ogg・png 変換"}};
    static const std::vector<MenuEntry> chart = {{kCmdPlayChart, u8"プレイ"},
                                                 {kCmdAutoplayChart, u8"オートプレイ"},
                                                 {kCmdChartTags, u8"タグ編集"},
                                                 {kCmdChartBmsEditor, u8"BMSエディタで編集"},
                                                 {kCmdChartRanking, u8"ランキングページ"},
                                                 {kCmdChartTextEditor, u8"メモ帳で開く"},
                                                 {kCmdChartRename, u8"譜面ファイル名の変更"},
                                                 {kCmdChartDelete, u8"ファイルの削除"},
                                                 {kCmdMovieAutoplay, u8"動画作成（オートプレイ）"},
                                                 {kCmdMovieBgaOnly, u8"動画作成（BGAのみ）"},
                                                 {kCmdMovieReplay, u8"動画作成（リプレイ）"},
                                                 {kCmdBgmWav, u8"BGM作成（wav）"},
                                                 {kCmdBgmMp3, u8"BGM作成（mp3）"}};
    static const std::vector<MenuEntry> other = {{kCmdFileTextEditor, u8"メモ帳で開く"},
                                                 {kCmdFileRename, u8"ファイル名の変更"},
                                                 {kCmdFileDelete, u8"ファイルの削除"}};
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
