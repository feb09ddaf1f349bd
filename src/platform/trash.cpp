// Deleting to the freedesktop trash, after asking.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QString>

#include "platform/paths.h"
#include "platform/shell.h"
#include "platform/text.h"
#include "platform/ui_service.h"
#include "platform/tr.h"

namespace qv5 {
namespace {

TrashHandler& Handler() {
    static TrashHandler handler;
    return handler;
}

bool MoveToTrash(const std::string& host) {
    if (Handler()) return Handler()(host);
    // Qt makes only the last folder of the home trash.
    QDir().mkpath(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation));
    const QString source = QString::fromStdString(host);
    QString in_trash;
    if (!QFile::moveToTrash(source, &in_trash)) return false;
    if (QFileInfo(in_trash).isAbsolute()) return true;
    // With no trash to be found Qt falls back to "files" and "info" in the
    // current directory: that is no trash, so undo it.
    const QString info =
        QStringLiteral("info/") + QFileInfo(in_trash).fileName() + QStringLiteral(".trashinfo");
    if (QFile::rename(in_trash, source)) {
        QFile::remove(info);
        QDir().rmdir(QStringLiteral("files"));
        QDir().rmdir(QStringLiteral("info"));
    }
    return false;
}

}  // namespace

TrashResult DeleteToTrash(QWidget* owner, const std::string& path) {
    if (Ui().MessageBox(owner, Arg(Tr("Trash", "「%1」をごみ箱に移動しますか？"), {path}),
                        Tr("Trash", "確認"), MsgButtons::YesNo,
                        MsgIcon::Question) != MsgAnswer::Yes)
        return TrashResult::Declined;
    auto host = ToHostPath(path);
    if (!host || !MoveToTrash(*host)) {
        ShowMessage(owner,
                    Tr("Trash", "ごみ箱に移動できませんでした。何も削除していません。\n") + path,
                    Tr("Trash", "エラー"), MsgIcon::Error);
        return TrashResult::Failed;
    }
    return TrashResult::Moved;
}

TrashHandler SetTrashHandler(TrashHandler handler) {
    std::swap(Handler(), handler);
    return handler;
}

}  // namespace qv5
