// The JUKEBOX1 page: the registered root folders and the new-song folder.
#pragma once

#include <string>
#include <vector>

#include "app/page.h"
#include "config/tool_settings.h"

namespace qv5 {

class JukeboxPage : public Page {
    Q_OBJECT
  public:
    explicit JukeboxPage(QWidget* parent = nullptr) : Page(parent) {}

    // The texts of the folder tree's top-level items, in tree order.
    const std::vector<std::string>& RootItems() const { return roots_; }
    void AppendRootItem(const std::string& path) { roots_.push_back(path); }
    void ClearRootItems() { roots_.clear(); }

    std::string newsongfolder;
    // The tool settings dialog's values; they stay with the page between openings.
    ToolSettings tools;

  private:
    std::vector<std::string> roots_;
};

}  // namespace qv5
