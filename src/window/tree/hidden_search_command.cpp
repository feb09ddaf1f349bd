#include "window/tree/hidden_search_command.h"

#include "browser/hidden_search.h"
#include "platform/text.h"
#include "platform/tr.h"
#include "platform/ui_service.h"
#include "window/common/progress_window.h"

namespace qv5 {

int RunHiddenSearch(QWidget* owner, const WinPath& folder_path,
                    const std::function<void(const std::string& name)>& add_item) {
    const std::string& folder = folder_path.text();
    HiddenSearchResult result;
    {
        ProgressWindow progress(owner, Tr("FolderTree", "隠し譜面検索"));
        result = FindHiddenCharts(WinPath(folder), progress);
    }
    for (const std::string& name : result.names) add_item(name);
    const int found = static_cast<int>(result.names.size());
    if (found == 0 && result.stopped) return 0;
    ShowMessage(
        owner,
        found > 0 ? Tr("FolderTree", "隠し譜面を発見しました。必要に応じて拡張子を変更して下さい。")
                  : Tr("FolderTree", "隠し譜面は見つかりませんでした。"),
        Tr("FolderTree", "検索終了"));
    return found;
}

}  // namespace qv5
