#include "platform/file_identity.h"

#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <ctime>
#include <string>

#include "platform/paths.h"

namespace qv5 {
namespace {

std::optional<EntryFacts> Facts(const struct stat& st) {
    EntryFacts f;
    f.id = {static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino)};
    f.directory = S_ISDIR(st.st_mode);
    struct tm tm {};
    gmtime_r(&st.st_mtime, &tm);
    f.write_time = {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec};
    return f;
}

std::optional<EntryFacts> FactsOf(const char* host) {
    struct stat st {};
    if (::stat(host, &st) != 0) return std::nullopt;
    return Facts(st);
}

}  // namespace

std::optional<EntryFacts> LookUpEntry(std::string_view path) {
    const auto host = ToHostPath(path);
    if (!host) return std::nullopt;
    return FactsOf(host->c_str());
}

std::vector<FileIdentity> DirectoryChain(std::string_view path) {
    std::vector<FileIdentity> chain;
    auto host = ToHostPath(path);
    if (!host) return chain;
    std::string full = *host;
    if (full.empty() || full[0] != '/') {
        char cwd[4096];
        if (!::getcwd(cwd, sizeof cwd)) return chain;
        full = std::string(cwd) + "/" + full;
    }
    // Each prefix up to a separator, then the whole path.
    for (size_t i = 0; i <= full.size(); ++i) {
        if (i < full.size() && full[i] != '/') continue;
        const std::string prefix = i == 0 ? "/" : full.substr(0, i);
        if (const auto f = FactsOf(prefix.c_str()); f && f->directory) chain.push_back(f->id);
    }
    return chain;
}

namespace {

std::optional<std::string> HostWithoutSeparator(std::string_view path) {
    auto host = ToHostPath(path);
    if (!host) return std::nullopt;
    while (host->size() > 1 && host->back() == '/') host->pop_back();
    return host;
}

std::optional<std::string> Resolved(std::string_view path) {
    const auto host = HostWithoutSeparator(path);
    if (!host) return std::nullopt;
    char* real = ::realpath(host->c_str(), nullptr);
    if (!real) return std::nullopt;
    std::string out = real;
    ::free(real);
    return out;
}

}  // namespace

bool IsLink(std::string_view path) {
    const auto host = HostWithoutSeparator(path);
    struct stat st {};
    return host && ::lstat(host->c_str(), &st) == 0 && S_ISLNK(st.st_mode);
}

bool ResolvesInside(std::string_view path, std::string_view dir) {
    const auto target = Resolved(path), top = Resolved(dir);
    if (!target || !top) return false;
    if (*target == *top) return true;
    const std::string prefix = *top == "/" ? *top : *top + "/";
    return target->compare(0, prefix.size(), prefix) == 0;
}

WriteTimes::~WriteTimes() {
    if (fd_ >= 0) ::close(fd_);
}

std::optional<FileTime> WriteTimes::Of(std::string_view path) {
    const auto host = ToHostPath(path);
    if (!host) return std::nullopt;
    const size_t slash = host->rfind('/');
    if (slash == std::string::npos || slash + 1 == host->size()) {
        const auto f = FactsOf(host->c_str());
        return f ? std::optional<FileTime>(f->write_time) : std::nullopt;
    }
    const std::string_view dir(host->data(), slash == 0 ? 1 : slash);
    if (fd_ < 0 || dir != dir_) {
        if (fd_ >= 0) ::close(fd_);
        dir_.assign(dir);
        fd_ = ::open(dir_.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    }
    // No folder, no file in it.
    if (fd_ < 0) return std::nullopt;
    struct stat st {};
    if (::fstatat(fd_, host->c_str() + slash + 1, &st, 0) != 0) return std::nullopt;
    return Facts(st).value().write_time;
}

}  // namespace qv5
