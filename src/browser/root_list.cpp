#include "browser/root_list.h"

#include "platform/paths.h"
#include "platform/text.h"
#include "platform/tr.h"

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
    if (folder && (path.empty() || path.back() != '\\')) path += '\\';
    return path;
}

std::string RootConflictMessage(const std::vector<std::string>& roots, const std::string& path) {
    for (const std::string& root : roots) {
        if (root == path) return Tr("RootList", "このフォルダは既に登録されています。");
        if (!root.empty() && path.compare(0, root.size(), root) == 0)
            return Tr("RootList", "親フォルダが既に登録されています。");
    }
    return {};
}

std::string AbsolutePath(const std::string& path) {
    if (path.size() >= 2 && path[1] == ':') return path;
    if (!path.empty() && path[0] == '\\') return path;
    return ProgramDirectory() + path;
}

bool HoldsRoot(const std::vector<std::string>& roots, const std::string& folder) {
    std::string prefix = AbsolutePath(folder);
    if (prefix.empty() || prefix.back() != '\\') prefix += '\\';
    for (const std::string& root : roots) {
        std::string r = AbsolutePath(root);
        if (r.empty() || r.back() != '\\') r += '\\';
        if (r.compare(0, prefix.size(), prefix) == 0) return true;
    }
    return false;
}

std::string LowerAscii(std::string_view text) {
    std::string out(text);
    for (size_t i = 0; i < out.size(); ++i) {
        const auto c = static_cast<unsigned char>(out[i]);
        if (IsLeadByte(c) && i + 1 < out.size()) {
            ++i;
            continue;
        }
        if (c >= 'A' && c <= 'Z') out[i] = static_cast<char>(c - 'A' + 'a');
    }
    return out;
}

bool EndsWith(std::string_view text, std::string_view tail) {
    return text.size() >= tail.size() && text.substr(text.size() - tail.size()) == tail;
}

}  // namespace qv5

namespace qv5 {

std::string DirectoryOf(std::string_view path) {
    size_t cut = 0;
    for (size_t i = 0; i < path.size(); ++i) {
        const auto c = static_cast<unsigned char>(path[i]);
        if (IsLeadByte(c) && i + 1 < path.size()) {
            ++i;
            continue;
        }
        if (c == '\\') cut = i + 1;
    }
    return std::string(path.substr(0, cut));
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
