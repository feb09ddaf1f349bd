#include "platform/exclusive_files.h"

#include <errno.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cstdio>
#include <random>
#include <vector>

#include "platform/files.h"
#include "platform/paths.h"
#include "platform/win_path.h"

namespace qv5 {

namespace {

constexpr char kTemporaryStart[] = ".qv5-";
constexpr char kTemporaryEnd[] = ".part";

bool IsTemporaryName(const std::string& name) {
    return name.starts_with(kTemporaryStart) && name.ends_with(kTemporaryEnd) &&
           name.size() > sizeof kTemporaryStart + sizeof kTemporaryEnd - 2;
}

std::string TemporaryName() {
    static std::mt19937_64 random{std::random_device{}()};
    char text[48];
    std::snprintf(text, sizeof text, "%s%ld-%08llx%s", kTemporaryStart, static_cast<long>(getpid()),
                  static_cast<unsigned long long>(random() & 0xffffffffu), kTemporaryEnd);
    return text;
}

EntryKind Kind(int looked, const struct stat& st) {
    if (looked != 0) return EntryKind::None;
    return S_ISDIR(st.st_mode) ? EntryKind::Folder : EntryKind::Other;
}

}  // namespace

LockedTemporary::~LockedTemporary() {
    Close();
}

bool LockedTemporary::Create(std::string_view folder) {
    Close();
    host_.clear();
    for (int attempt = 0; attempt < 100; ++attempt) {
        path_ = WinPath(std::string(folder)).Join(TemporaryName()).text();
        auto host = ToHostPath(path_);
        if (!host) {
            errno = EINVAL;
            return false;
        }
        const int fd =
            ::open(host->c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
        if (fd < 0 && errno == EEXIST) continue;
        if (fd < 0) return false;
        while (::flock(fd, LOCK_EX) != 0 && errno == EINTR) {
        }
        // Between its creation and the lock, a cleaner may have taken it for
        // a leftover: it is then unlinked, and another name is tried.
        struct stat st;
        if (::fstat(fd, &st) == 0 && st.st_nlink > 0) {
            fd_ = fd;
            host_ = std::move(*host);
            return true;
        }
        ::close(fd);
    }
    errno = EEXIST;
    return false;
}

void LockedTemporary::SetTimes(std::int64_t unix_seconds) {
    if (fd_ < 0) return;
    struct timespec times[2];
    times[0].tv_sec = times[1].tv_sec = static_cast<time_t>(unix_seconds);
    times[0].tv_nsec = times[1].tv_nsec = 0;
    ::futimens(fd_, times);
}

int LockedTemporary::Close() {
    if (fd_ < 0) return 0;
    const int closed = ::close(fd_);
    fd_ = -1;
    return closed == 0 ? 0 : errno;
}

void LockedTemporary::Remove() {
    Close();
    if (!host_.empty()) ::unlink(host_.c_str());
}

void RemoveUnheldTemporaries(std::string_view folder) {
    const WinPath dir{std::string(folder)};
    std::vector<DirEntry> entries;
    ListFolder(dir.AsFolder().text(), entries, ListDetail::NamesAndKinds);
    for (const DirEntry& e : entries) {
        if (e.directory || !IsTemporaryName(e.name)) continue;
        auto host = ToHostPath(dir.Join(e.name).text());
        if (!host) continue;
        const int fd = ::open(host->c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) continue;
        // Only the file this lock is on goes: another may have been given
        // the name since it was opened.
        struct stat held, named;
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::fstat(fd, &held) == 0 &&
            ::lstat(host->c_str(), &named) == 0 && held.st_ino == named.st_ino &&
            held.st_dev == named.st_dev)
            ::unlink(host->c_str());
        ::close(fd);  // releases the lock
    }
}

int RenameNoReplace(std::string_view from, std::string_view to) {
    const auto a = ToHostPath(from), b = ToHostPath(to);
    if (!a || !b) return EINVAL;
    if (::renameat2(AT_FDCWD, a->c_str(), AT_FDCWD, b->c_str(), RENAME_NOREPLACE) == 0) return 0;
    if (errno != EINVAL && errno != ENOSYS) return errno;
    // A file system without the flag: a hard link cannot replace either.
    if (::link(a->c_str(), b->c_str()) != 0) return errno;
    ::unlink(a->c_str());
    return 0;
}

namespace {

EntryKind KindBy(std::string_view path, int (*look)(const char*, struct stat*)) {
    const auto host = ToHostPath(path);
    if (!host) {
        errno = EINVAL;
        return EntryKind::None;
    }
    struct stat st;
    return Kind(look(host->c_str(), &st), st);
}

}  // namespace

EntryKind KindOf(std::string_view path) {
    return KindBy(path, ::lstat);
}

EntryKind KindFollowingLinks(std::string_view path) {
    return KindBy(path, ::stat);
}

int MakeFolder(std::string_view path) {
    const auto host = ToHostPath(path);
    if (!host) return EINVAL;
    return ::mkdir(host->c_str(), 0755) == 0 ? 0 : errno;
}

int RemoveFile(std::string_view path) {
    const auto host = ToHostPath(path);
    if (!host) return EINVAL;
    return ::unlink(host->c_str()) == 0 ? 0 : errno;
}

int RemoveEmptyFolder(std::string_view path) {
    const auto host = ToHostPath(path);
    if (!host) return EINVAL;
    return ::rmdir(host->c_str()) == 0 ? 0 : errno;
}

std::optional<FreeSpace> FreeSpaceAt(std::string_view path) {
    const auto host = ToHostPath(path);
    struct statvfs fs;
    if (!host || ::statvfs(host->c_str(), &fs) != 0) return std::nullopt;
    return FreeSpace{
        static_cast<std::int64_t>(fs.f_bavail) * static_cast<std::int64_t>(fs.f_frsize),
        static_cast<std::int64_t>(fs.f_bsize)};
}

}  // namespace qv5
