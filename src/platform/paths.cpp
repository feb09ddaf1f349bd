#include "platform/paths.h"

#include <limits.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>

#include "platform/text.h"

namespace qv5 {
namespace {
std::string g_program_dir = ".\\";
}

std::optional<std::string> ToHostPath(std::string_view path) {
    // Convert first: a CP932 trail byte may be 0x5C, which is no separator.
    std::string u = Cp932ToUtf8(path);
    std::replace(u.begin(), u.end(), '\\', '/');
    if (u.size() >= 2 && u[1] == ':') {
        const char drive = u[0];
        if (drive != 'Z' && drive != 'z') return std::nullopt;
        std::string rest = u.substr(2);
        u = (rest.empty() || rest[0] != '/') ? "/" + rest : std::move(rest);
    }
    while (u.size() > 1 && u.back() == '/') u.pop_back();
    if (u.empty()) return std::string(".");
    return u;
}

std::optional<std::string> FromHostPath(std::string_view host) {
    // A host backslash has no internal form.
    if (host.find('\\') != std::string_view::npos) return std::nullopt;
    auto cp = Utf8ToCp932(host);
    if (!cp) return std::nullopt;
    std::string out;
    out.reserve(cp->size() + 2);
    if (!cp->empty() && (*cp)[0] == '/') out = "Z:";
    // In CP932 a trail byte is never 0x2F, so a byte-wise replacement is safe.
    for (char c : *cp) out += (c == '/') ? '\\' : c;
    return out;
}

std::string HostPathShown(std::string_view internal, const std::string& from_dir) {
    const bool folder = !internal.empty() && internal.back() == '\\';
    const bool relative = internal.size() < 2 || internal[1] != ':';
    auto host =
        ToHostPath(relative ? g_program_dir + std::string(internal) : std::string(internal));
    if (!host) return Cp932ToUtf8(internal);
    const std::string from = TidyHostPath(from_dir);
    if (!from.empty() && from != "/" && host->size() > from.size() &&
        host->compare(0, from.size(), from) == 0 && (*host)[from.size()] == '/')
        host->erase(0, from.size() + 1);
    else if (!from.empty() && *host == from)
        *host = ".";
    if (folder && host->back() != '/') *host += '/';
    return *host;
}

const std::string& ProgramDirectory() {
    return g_program_dir;
}

bool SetProgramDirectory(const std::string& host_dir) {
    char resolved[PATH_MAX];
    if (!realpath(host_dir.c_str(), resolved)) return false;
    auto internal = FromHostPath(resolved);
    if (!internal) return false;
    if (chdir(resolved) != 0) return false;
    if (!EndsWith(*internal, "\\")) *internal += '\\';
    g_program_dir = *internal;
    return true;
}

bool MakeProgramDirectoryCurrent() {
    if (g_program_dir.empty()) return false;
    auto host = ToHostPath(g_program_dir);
    return host && chdir(host->c_str()) == 0;
}

std::string ExecutableHostDirectory() {
    char buf[PATH_MAX];
    ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
    if (n <= 0) return ".";
    std::string p(buf, static_cast<size_t>(n));
    auto slash = p.rfind('/');
    return slash == 0 ? "/" : p.substr(0, slash);
}

std::string CurrentHostDirectory() {
    std::string dir(4096, '\0');
    while (!getcwd(dir.data(), dir.size())) {
        if (errno != ERANGE) return ".";
        dir.resize(dir.size() * 2);
    }
    dir.resize(std::char_traits<char>::length(dir.c_str()));
    return dir;
}

std::string FromStartDir(const std::string& host, const std::string& start_dir) {
    return !host.empty() && host.front() == '/' ? host : start_dir + "/" + host;
}

std::optional<std::string> RealHostPath(const std::string& host) {
    char resolved[PATH_MAX];
    if (!realpath(host.c_str(), resolved)) return std::nullopt;
    return std::string(resolved);
}

std::string TidyHostPath(const std::string& host) {
    std::string tidy = std::filesystem::path(host).lexically_normal().string();
    while (tidy.size() > 1 && tidy.back() == '/') tidy.pop_back();
    return tidy;
}

std::optional<std::string> ResolveFolderOf(const std::string& host) {
    const std::filesystem::path named(host);
    if (!named.has_filename()) return std::nullopt;
    const auto dir = RealHostPath(named.has_parent_path() ? named.parent_path().string() : ".");
    struct stat st {};
    if (!dir || lstat(host.c_str(), &st) != 0) return std::nullopt;
    return (std::filesystem::path(*dir) / named.filename()).string();
}

bool IsHostDirectory(const std::string& host) {
    struct stat st {};
    return stat(host.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool SameHostFile(const std::string& a, const std::string& b) {
    struct stat sa {
    }, sb{};
    return stat(a.c_str(), &sa) == 0 && stat(b.c_str(), &sb) == 0 && sa.st_dev == sb.st_dev &&
           sa.st_ino == sb.st_ino;
}

}  // namespace qv5
