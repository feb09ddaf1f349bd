#include "install/entry_path.h"

#include "platform/text.h"
#include "platform/win_path.h"

namespace qv5 {

std::optional<std::vector<std::string>> SafeEntryParts(const std::string& name) {
    std::vector<std::string> parts;
    std::string part;
    if (!name.empty() && (name[0] == '/' || name[0] == '\\')) return std::nullopt;
    auto flush = [&]() -> bool {
        if (part == "..") return false;
        if (!part.empty() && part != ".") parts.push_back(part);
        part.clear();
        return true;
    };
    for (size_t i = 0; i < name.size(); ++i) {
        const char c = name[i];
        if (c == ':' || c == '\0') return std::nullopt;
        if (c == '/' || c == '\\') {
            if (!flush()) return std::nullopt;
            continue;
        }
        part += c;
        if (IsLeadByte(static_cast<unsigned char>(c)) && i + 1 < name.size()) part += name[++i];
    }
    if (!flush()) return std::nullopt;
    return parts;
}

std::optional<ExtractCommand> ParseExtractCommand(const std::string& command_line) {
    // The archivers' own splitting: quotes group, nothing is escaped, so a
    // path ending in a trail byte 0x5C stays whole.
    std::vector<std::string> args;
    std::string cur;
    bool quoted = false, in_arg = false;
    for (size_t i = 0; i < command_line.size(); ++i) {
        const char ch = command_line[i];
        if (ch == '"') {
            quoted = !quoted;
            in_arg = true;
        } else if ((ch == ' ' || ch == '\t') && !quoted) {
            if (in_arg) args.push_back(cur);
            cur.clear();
            in_arg = false;
        } else {
            cur += ch;
            in_arg = true;
            if (IsLeadByte(static_cast<unsigned char>(ch)) && i + 1 < command_line.size())
                cur += command_line[++i];
        }
    }
    if (in_arg) args.push_back(cur);
    if (quoted || args.size() != 4 || args[0] != "-x" || args[3] != "*.*") return std::nullopt;
    ExtractCommand c;
    c.archive = args[1];
    for (size_t i = 0; i < args[2].size(); ++i) {
        const char ch = args[2][i];
        c.destination += ch == '/' ? '\\' : ch;
        if (IsLeadByte(static_cast<unsigned char>(ch)) && i + 1 < args[2].size())
            c.destination += args[2][++i];
    }
    // A trailing trail byte 0x5C belongs to its character.
    while (WinPath(c.destination).IsFolderForm())
        c.destination = WinPath(c.destination).AsFile().text();
    if (c.archive.empty() || c.destination.empty()) return std::nullopt;
    return c;
}

}  // namespace qv5
