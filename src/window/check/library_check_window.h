// The library check from the window: the Library menu's "ライブラリの検査..."
// runs it with the progress window, and its report stays open beside the
// main window, findings grouped by kind.
#pragma once

#include <QDialog>
#include <functional>
#include <string>
#include <vector>

#include "library/library_check.h"

class QLabel;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace qv5 {

// What the report asks of the main window for a finding's path (internal).
struct CheckActions {
    std::function<void(const std::string& path)> show_in_tree;
    // True when the refresh succeeded: the findings it mends are marked done.
    std::function<bool(const std::string& folder)> refresh_folder;
};

class LibraryCheckWindow : public QDialog {
    Q_OBJECT
  public:
    LibraryCheckWindow(QWidget* owner, CheckResult result, CheckActions actions);

    const CheckResult& result() const { return result_; }
    QTreeWidget* Findings() const { return findings_; }
    // The buttons act on the selected finding (or file of a duplicate group).
    void ShowInTree();
    void OpenFolder();
    void RefreshFolder();
    // Asks for a file and writes the whole report to it (UTF-8).
    void SaveReport();
    // The folder the selected item's actions go to (internal, with its
    // trailing "\"): the nearest one on disk. Empty when nothing is selected.
    std::string SelectedFolder() const;
    // Whether the action on a finding (its index in result()) has succeeded.
    bool IsDone(size_t finding) const;

  private:
    void Fill();
    QTreeWidgetItem* AddFinding(QTreeWidgetItem* parent, size_t finding);
    void MarkDoneBelow(const std::string& folder);
    void Caption();
    void OnSelection();
    // The path of the selected item: a finding's, or one file of a group.
    std::string SelectedPath() const;
    const CheckFinding* SelectedFinding() const;

    CheckResult result_;
    CheckActions actions_;
    std::vector<QTreeWidgetItem*> items_;  // each finding's own item
    std::vector<bool> done_;
    QLabel* summary_;
    QTreeWidget* findings_;
    QPushButton *show_, *open_, *refresh_, *save_, *close_;
};

}  // namespace qv5
