#include "window/main/library_watch.h"

#include "library/song_library.h"
#include "platform/paths.h"

namespace qv5 {

LibraryWatch::LibraryWatch(QObject* parent) : QObject(parent) {
    connect(&watcher_, &QFileSystemWatcher::fileChanged, this, [this] { OnChange(); });
    connect(&watcher_, &QFileSystemWatcher::directoryChanged, this, [this] { OnChange(); });
}

void LibraryWatch::Start() {
    const auto host = ToHostPath(ProgramDirectory() + kSongDbPath);
    if (!host) return;
    file_ = QString::fromStdString(*host);
    if (!watcher_.files().isEmpty()) watcher_.removePaths(watcher_.files());
    if (!watcher_.directories().isEmpty()) watcher_.removePaths(watcher_.directories());
    watcher_.addPath(file_.left(file_.lastIndexOf(QLatin1Char('/'))));
    watcher_.addPath(file_);
    changed_ = false;
}

bool LibraryWatch::TakeChange() {
    const bool changed = changed_;
    changed_ = false;
    return changed;
}

void LibraryWatch::OnChange() {
    changed_ = true;
    // A file replaced by a rename is no longer watched: watch the new one.
    if (!watcher_.files().contains(file_)) watcher_.addPath(file_);
}

}  // namespace qv5
