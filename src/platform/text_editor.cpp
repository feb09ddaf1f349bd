// The editor for plain text: the desktop's default application for text/plain
// as xdg-mime names it, started from its desktop entry's Exec line.
#include <cstdio>
#include <cstdlib>
#include <fstream>

#include "platform/paths.h"
#include "platform/process.h"
#include "platform/shell.h"

namespace qv5 {
namespace {

TextEditorHandler& Handler() {
    static TextEditorHandler handler;
    return handler;
}

std::string DefaultTextApp() {
    if (FindOnPath("xdg-mime").empty()) return {};
    FILE* p = popen("xdg-mime query default text/plain 2>/dev/null", "r");
    if (!p) return {};
    std::string out;
    char buf[256];
    while (std::fgets(buf, sizeof buf, p)) out += buf;
    pclose(p);
    while (!out.empty() && (out.back() == '\n' || out.back() == ' ')) out.pop_back();
    if (size_t nl = out.find('\n'); nl != std::string::npos) out.resize(nl);
    return out;
}

std::vector<std::string> DataDirs() {
    std::vector<std::string> dirs;
    const char* home_data = std::getenv("XDG_DATA_HOME");
    const char* home = std::getenv("HOME");
    if (home_data && *home_data)
        dirs.push_back(home_data);
    else if (home)
        dirs.push_back(std::string(home) + "/.local/share");
    const char* sys = std::getenv("XDG_DATA_DIRS");
    std::string all = sys && *sys ? sys : "/usr/local/share:/usr/share";
    size_t from = 0;
    while (from <= all.size()) {
        size_t colon = all.find(':', from);
        if (colon == std::string::npos) colon = all.size();
        if (colon > from) dirs.push_back(all.substr(from, colon - from));
        from = colon + 1;
    }
    return dirs;
}

// The Exec value of the [Desktop Entry] group, empty when there is none.
std::string ExecLine(const std::string& desktop_id) {
    for (const std::string& dir : DataDirs()) {
        std::ifstream in(dir + "/applications/" + desktop_id);
        if (!in) continue;
        bool in_entry = false;
        for (std::string line; std::getline(in, line);) {
            if (!line.empty() && line[0] == '[') in_entry = line == "[Desktop Entry]";
            if (in_entry && line.rfind("Exec=", 0) == 0) return line.substr(5);
        }
    }
    return {};
}

// Splits an Exec value: blanks separate, double quotes group, and a
// backslash inside quotes escapes the next character.
std::vector<std::string> SplitExec(const std::string& exec) {
    std::vector<std::string> out;
    std::string cur;
    bool quoted = false, any = false;
    for (size_t i = 0; i < exec.size(); ++i) {
        char c = exec[i];
        if (quoted) {
            if (c == '\\' && i + 1 < exec.size())
                cur += exec[++i];
            else if (c == '"')
                quoted = false;
            else
                cur += c;
        } else if (c == '"') {
            quoted = any = true;
        } else if (c == ' ' || c == '\t') {
            if (any || !cur.empty()) out.push_back(cur);
            cur.clear();
            any = false;
        } else {
            cur += c;
        }
    }
    if (any || !cur.empty()) out.push_back(cur);
    return out;
}

// Replaces the field codes: the file for %f %F %u %U, nothing for the others.
std::vector<std::string> Expand(const std::vector<std::string>& tokens, const std::string& file) {
    std::vector<std::string> out;
    bool placed = false;
    for (const std::string& t : tokens) {
        if (t == "%f" || t == "%F" || t == "%u" || t == "%U") {
            out.push_back(file);
            placed = true;
            continue;
        }
        std::string r;
        for (size_t i = 0; i < t.size(); ++i) {
            if (t[i] != '%' || i + 1 >= t.size()) {
                r += t[i];
                continue;
            }
            char code = t[++i];
            if (code == '%') r += '%';
            if (code == 'f' || code == 'F' || code == 'u' || code == 'U') {
                r += file;
                placed = true;
            }
        }
        if (!r.empty() || t.empty()) out.push_back(r);
    }
    if (!placed) out.push_back(file);
    return out;
}

}  // namespace

std::vector<std::string> TextEditorCommand(const std::string& host_file) {
    std::string id = DefaultTextApp();
    if (!id.empty()) {
        std::vector<std::string> tokens = SplitExec(ExecLine(id));
        if (!tokens.empty()) return Expand(tokens, host_file);
    }
    return {"xdg-open", host_file};
}

bool OpenInTextEditor(const std::string& file) {
    if (Handler()) return Handler()(file);
    auto host = ToHostPath(file);
    if (!host) return false;
    return RunHostProgram(TextEditorCommand(*host), Wait::No).started;
}

TextEditorHandler SetTextEditorHandler(TextEditorHandler handler) {
    std::swap(Handler(), handler);
    return handler;
}

}  // namespace qv5
