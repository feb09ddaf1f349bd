#include "browser/root_list.h"

#include <algorithm>

#include "platform/paths.h"
#include "platform/text.h"
#include "platform/tr.h"
#include "platform/win_path.h"

namespace qv5 {

bool PathTooLong(std::string_view path) {
    return path.size() > kMaxTreePath;
}

std::string PathTooLongMessage(const std::string& path) {
    return Tr("RootList", "パスが長すぎるため、この操作はできません。\n") + path;
}

std::string StoredRootPath(std::string path, bool folder) {
    const std::string& dir = ProgramDirectory();
    if (!dir.empty() && path.size() >= dir.size() && path.compare(0, dir.size(), dir) == 0)
        path.erase(0, dir.size());
    return folder ? WinPath(path).AsFolder().text() : path;
}

std::string RootConflictMessage(const std::vector<std::string>& roots, const std::string& path) {
    for (const std::string& root : roots) {
        if (root == path) return Tr("RootList", "このフォルダは既に登録されています。");
        if (!root.empty() && WinPath(path).IsWithin(WinPath(root)))
            return Tr("RootList", "親フォルダが既に登録されています。");
    }
    return {};
}

std::vector<std::string> MergeRootLists(const std::vector<std::string>& shown,
                                        const std::vector<std::string>& read,
                                        const std::vector<std::string>& now) {
    auto holds = [](const std::vector<std::string>& list, const std::string& root) {
        return std::find(list.begin(), list.end(), root) != list.end();
    };
    std::vector<std::string> merged;
    for (const std::string& root : shown)
        if (!holds(read, root) || holds(now, root)) merged.push_back(root);
    for (const std::string& root : now)
        if (!holds(read, root) && !holds(shown, root) && !holds(merged, root))
            merged.push_back(root);
    return merged;
}

std::string AbsolutePath(const std::string& path) {
    if (path.size() >= 2 && path[1] == ':') return path;
    if (!path.empty() && path[0] == '\\') return path;
    return ProgramDirectory() + path;
}

bool HoldsRoot(const std::vector<std::string>& roots, const WinPath& folder_path) {
    const std::string& folder = folder_path.text();
    const WinPath prefix(AbsolutePath(folder));
    for (const std::string& root : roots)
        if (WinPath(AbsolutePath(root)).IsWithin(prefix)) return true;
    return false;
}

bool IsPlainName(std::string_view name) {
    if (name.empty() || name == "." || name == "..") return false;
    for (size_t i = 0; i < name.size(); ++i) {
        const auto c = static_cast<unsigned char>(name[i]);
        if (IsLeadByte(c) && i + 1 < name.size()) {
            ++i;
            continue;
        }
        if (c == '\\' || c == '/' || c == 0) return false;
    }
    return true;
}

}  // namespace qv5
