// Notices when song.db changes under the window (a command-line install,
// add-root or remove-root while the window is open), so that the tree can
// follow it the next time the window is activated.
#pragma once

#include <QFileSystemWatcher>
#include <QObject>

namespace qv5 {

class LibraryWatch : public QObject {
  public:
    explicit LibraryWatch(QObject* parent = nullptr);
    // Watches song.db of the program directory and the folder it lies in
    // (an entry renamed over it, or its journal, shows there).
    void Start();
    // True once after song.db changed.
    bool TakeChange();

  private:
    void OnChange();
    QFileSystemWatcher watcher_;
    QString file_;
    bool changed_ = false;
};

}  // namespace qv5
