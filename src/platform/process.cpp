#include "platform/process.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "platform/paths.h"
#include "platform/text.h"
#include "platform/tr.h"
#include "platform/wine_locale.h"

namespace qv5 {
namespace {

bool IsRegularFile(const std::string& host) {
    struct stat st;
    return stat(host.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool IsExecutable(const std::string& host) {
    return IsRegularFile(host) && access(host.c_str(), X_OK) == 0;
}

}  // namespace

std::string FindOnPath(const std::string& name) {
    const char* path = std::getenv("PATH");
    if (!path) return {};
    std::string all = path;
    size_t from = 0;
    while (from <= all.size()) {
        size_t colon = all.find(':', from);
        if (colon == std::string::npos) colon = all.size();
        std::string dir = all.substr(from, colon - from);
        if (dir.empty()) dir = ".";
        std::string candidate = dir + "/" + name;
        if (IsExecutable(candidate)) return candidate;
        from = colon + 1;
    }
    return {};
}

namespace {

std::string ProgramDirHost() {
    return ToHostPath(ProgramDirectory()).value_or(".");
}

std::string Absolute(const std::string& host) {
    if (!host.empty() && host[0] == '/') return host;
    return ProgramDirHost() + "/" + host;
}

bool HasDrive(std::string_view utf8) {
    return utf8.size() >= 3 && ((utf8[0] | 0x20) >= 'a' && (utf8[0] | 0x20) <= 'z') &&
           utf8[1] == ':' && (utf8[2] == '\\' || utf8[2] == '/');
}

bool EndsWithExe(const std::string& utf8) {
    if (utf8.size() < 4) return false;
    std::string tail = utf8.substr(utf8.size() - 4);
    for (char& c : tail) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return tail == ".exe";
}

bool StartsWithMz(const std::string& host) {
    int fd = open(host.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    char head[2] = {};
    bool mz = read(fd, head, 2) == 2 && head[0] == 'M' && head[1] == 'Z';
    close(fd);
    return mz;
}

std::string FindWine() {
    if (const char* env = std::getenv("QV5_WINE"); env && *env)
        return IsExecutable(env) ? std::string(env) : std::string();
    return FindOnPath("wine");
}

// Expands a wildcard in the last component the way the Windows C runtime
// does for a program: every matching entry but "." and "..", the directory
// part kept as written; no match leaves the argument alone.
void AppendExpanded(const std::string& host_arg, std::vector<std::string>& out) {
    size_t slash = host_arg.rfind('/');
    std::string dir_part = slash == std::string::npos ? "" : host_arg.substr(0, slash + 1);
    std::string pattern = slash == std::string::npos ? host_arg : host_arg.substr(slash + 1);
    if (pattern.find_first_of("*?") == std::string::npos) {
        out.push_back(host_arg);
        return;
    }
    std::string listed = dir_part.empty() ? ProgramDirHost() : dir_part;
    if (listed[0] != '/') listed = Absolute(listed);
    std::vector<std::string> names;
    if (DIR* d = opendir(listed.c_str())) {
        while (dirent* e = readdir(d)) {
            std::string name = e->d_name;
            if (name == "." || name == "..") continue;
            if (WildcardMatch(pattern, name)) names.push_back(dir_part + name);
        }
        closedir(d);
    }
    if (names.empty()) {
        out.push_back(host_arg);
        return;
    }
    std::sort(names.begin(), names.end());
    out.insert(out.end(), names.begin(), names.end());
}

// "QV5body.exe not found in /games/qv5 (nor on PATH)." names the folder the
// program was looked for in: the one the user must put it into.
std::string NotFoundMessage(const std::string& program, bool bare) {
    std::string folder = ProgramDirHost();
    if (!bare) {
        if (auto host = ToHostPath(program)) {
            const std::string full = Absolute(*host);
            folder = full.substr(0, std::max<size_t>(full.rfind('/'), 1));
        }
    }
    const std::string shown = Utf8ToCp932Lossy(folder);
    return bare ? Arg(Tr("Process", "%1 が %2 にもPATHにも見つかりません。"), {program, shown})
                : Arg(Tr("Process", "%1 が %2 に見つかりません。"), {program, shown});
}

ProcessResult Fail(StartError reason, std::string text) {
    ProcessResult r;
    r.reason = reason;
    r.error = std::move(text);
    return r;
}

}  // namespace

HostCommand PrepareCommand(const std::string& command_line) {
    HostCommand cmd;
    std::vector<std::string> tokens = SplitCommandLine(command_line);
    if (tokens.empty() || tokens[0].empty()) {
        cmd.result = Fail(StartError::ProgramMissing, "No program named.");
        return cmd;
    }
    cmd.program_name = tokens[0];
    const std::string name_utf8 = Cp932ToUtf8(tokens[0]);
    const bool bare = name_utf8.find_first_of("\\/") == std::string::npos && !HasDrive(name_utf8);

    // A bare name is looked for beside this program first, then on PATH.
    std::string exec_path, wine_name;
    if (bare) {
        if (IsRegularFile(Absolute(name_utf8))) {
            exec_path = Absolute(name_utf8);
            wine_name = name_utf8;
        } else if (std::string found = FindOnPath(name_utf8); !found.empty()) {
            exec_path = wine_name = found;
        }
    } else if (auto host = ToHostPath(tokens[0]); host && IsRegularFile(Absolute(*host))) {
        exec_path = Absolute(*host);
        wine_name = *host;
    }
    if (exec_path.empty()) {
        cmd.result = Fail(StartError::ProgramMissing, NotFoundMessage(tokens[0], bare));
        return cmd;
    }

    if (EndsWithExe(name_utf8) || StartsWithMz(exec_path)) {
        std::string wine = FindWine();
        if (wine.empty()) {
            cmd.result = Fail(
                StartError::WineMissing,
                "wine not found (install Wine, or set QV5_WINE), needed for " + tokens[0] + ".");
            return cmd;
        }
        cmd.argv = {wine, wine_name};
        const WineLocale locale = ChooseWineLocale();
        if (locale.available)
            cmd.env.push_back("LC_ALL=" + locale.name);
        else
            cmd.notice = MissingWineLocaleNotice(locale.name);
        for (size_t i = 1; i < tokens.size(); ++i) cmd.argv.push_back(Cp932ToUtf8(tokens[i]));
    } else {
        cmd.argv = {exec_path};
        for (size_t i = 1; i < tokens.size(); ++i) {
            std::string utf8 = Cp932ToUtf8(tokens[i]);
            if (HasDrive(utf8) || utf8.find('\\') != std::string::npos) {
                if (auto host = ToHostPath(tokens[i])) utf8 = *host;
            }
            AppendExpanded(utf8, cmd.argv);
        }
    }
    cmd.result.started = true;
    return cmd;
}

}  // namespace qv5
