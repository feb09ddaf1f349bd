// Saving a whole file safely: see WriteFileAtomic and FolderLock.
#include <fcntl.h>
#include <limits.h>
#include <stdlib.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <vector>

#include "platform/files.h"
#include "platform/paths.h"
#include "platform/progress.h"

namespace qv5 {
namespace {

// The file a path finally names, following links (also dangling ones, whose
// target is then created).
std::string FinalTarget(std::string path) {
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st {};
        if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
        std::string link(PATH_MAX, '\0');
        const ssize_t n = ::readlink(path.c_str(), link.data(), link.size());
        if (n <= 0 || size_t(n) >= link.size()) return path;
        link.resize(size_t(n));
        if (link.front() == '/') {
            path = link;
        } else {
            const size_t slash = path.rfind('/');
            path = (slash == std::string::npos ? std::string() : path.substr(0, slash + 1)) + link;
        }
    }
    return path;
}

// The last resort for a folder that takes no new file: the old content is
// replaced where it is. Not atomic, but the only way such a file can change.
bool WriteInPlace(const std::string& target, std::string_view data) {
    const int fd = ::open(target.c_str(), O_WRONLY | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0) return false;
    bool ok = WriteAll(fd, data) && ::ftruncate(fd, off_t(data.size())) == 0 && ::fsync(fd) == 0;
    if (::close(fd) != 0) ok = false;
    return ok;
}

// Makes the rename of a file into `target`'s folder reach the disk.
void SyncFolderOf(const std::string& target) {
    const size_t slash = target.rfind('/');
    const std::string dir = slash == std::string::npos ? "." : target.substr(0, slash + 1);
    const int dir_fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir_fd >= 0) {
        ::fsync(dir_fd);
        ::close(dir_fd);
    }
}

}  // namespace

bool WriteFileAtomic(std::string_view path, std::string_view data, LinkAtPath links,
                     unsigned new_file_mode) {
    auto host = ToHostPath(path);
    if (!host) {
        errno = EINVAL;
        return false;
    }
    const std::string target = links == LinkAtPath::WriteThrough ? FinalTarget(*host) : *host;
    struct stat st {};
    // A link left at the target (only when it is replaced) counts as no file:
    // its mode and owner are not the file's, and nothing is written through it.
    const bool exists = ::lstat(target.c_str(), &st) == 0 && !S_ISLNK(st.st_mode);
    // A read-only file stays as it is, as it would if written in place.
    if (exists && (st.st_mode & 0222) == 0) {
        errno = EACCES;
        return false;
    }
    std::string tmp = target + ".tmp-XXXXXX";
    const int fd = ::mkostemp(tmp.data(), O_CLOEXEC);
    if (fd < 0) {
        const bool no_new_file = errno == EACCES || errno == EPERM;
        return exists && S_ISREG(st.st_mode) && no_new_file && WriteInPlace(target, data);
    }
    if (exists) {
        bool ok = ::fchmod(fd, st.st_mode & 07777) == 0;
        if (st.st_uid != ::geteuid() || st.st_gid != ::getegid())
            ok = ::fchown(fd, st.st_uid, st.st_gid) == 0 && ok;
        // A file that cannot keep its owner is better rewritten in place
        // than handed to someone else.
        if (!ok) {
            const int err = errno;
            ::close(fd);
            ::unlink(tmp.c_str());
            errno = err;
            return S_ISREG(st.st_mode) && WriteInPlace(target, data);
        }
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        ::fchmod(fd, mode_t(new_file_mode) & ~mask);
    }
    bool ok = WriteAll(fd, data);
    if (ok && ::fsync(fd) != 0) ok = false;
    if (::close(fd) != 0) ok = false;
    if (ok && ::rename(tmp.c_str(), target.c_str()) != 0) ok = false;
    if (!ok) {
        const int err = errno;  // why it failed, for the caller to tell
        ::unlink(tmp.c_str());
        errno = err;
        return false;
    }
    SyncFolderOf(target);
    return true;
}

bool WriteFilesAtomic(std::string_view folder, const std::vector<FileToWrite>& files) {
    auto dir = ToHostPath(folder);
    if (!dir) {
        errno = EINVAL;
        return false;
    }
    if (!dir->empty() && dir->back() != '/') *dir += '/';
    std::vector<std::string> temporaries, targets;
    const auto fail = [&temporaries] {
        const int err = errno;
        for (const std::string& t : temporaries) ::unlink(t.c_str());
        errno = err;
        return false;
    };
    const mode_t mask = ::umask(0);
    ::umask(mask);
    for (const FileToWrite& f : files) {
        auto name = ToHostPath(f.name);
        if (!name || name->find('/') != std::string::npos) {
            errno = EINVAL;
            return fail();
        }
        const std::string target = *dir + *name;
        struct stat st {};
        const bool exists = ::lstat(target.c_str(), &st) == 0 && S_ISREG(st.st_mode);
        if (exists && (st.st_mode & 0222) == 0) {
            errno = EACCES;
            return fail();
        }
        std::string tmp = target + ".tmp-XXXXXX";
        const int fd = ::mkostemp(tmp.data(), O_CLOEXEC);
        if (fd < 0) return fail();
        temporaries.push_back(tmp);
        targets.push_back(target);
        bool ok =
            ::fchmod(fd, exists ? st.st_mode & 07777 : mode_t(kOrdinaryFileMode) & ~mask) == 0;
        ok = WriteAll(fd, f.data) && ok;
        if (::close(fd) != 0) ok = false;
        if (!ok) return fail();
    }
    // One flush of the file system for all of them: each file's content is
    // on the disk before any rename names it.
    const int dir_fd = ::open(dir->c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir_fd < 0) return fail();
    const bool synced = ::syncfs(dir_fd) == 0;
    if (!synced) {
        const int err = errno;
        ::close(dir_fd);
        errno = err;
        return fail();
    }
    for (size_t i = 0; i < temporaries.size(); ++i) {
        if (::rename(temporaries[i].c_str(), targets[i].c_str()) != 0) {
            const int err = errno;
            ::close(dir_fd);
            temporaries.erase(temporaries.begin(), temporaries.begin() + long(i));
            errno = err;
            return fail();
        }
    }
    ::fsync(dir_fd);
    ::close(dir_fd);
    return true;
}

FileReplacement::FileReplacement(std::string_view path) {
    auto host = ToHostPath(path);
    if (!host) return;
    target_ = *host;
    tmp_ = target_ + ".tmp-XXXXXX";
    fd_ = ::mkostemp(tmp_.data(), O_CLOEXEC);
    if (fd_ < 0) return;
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(fd_, 0666 & ~mask);
}

FileReplacement::~FileReplacement() {
    Discard();
}

void FileReplacement::Discard() {
    if (fd_ < 0) return;
    ::close(fd_);
    ::unlink(tmp_.c_str());
    fd_ = -1;
}

bool FileReplacement::Append(std::string_view data) {
    if (fd_ < 0) return false;
    if (WriteAll(fd_, data)) return true;
    Discard();
    return false;
}

bool FileReplacement::Commit() {
    if (fd_ < 0) return false;
    const bool ok = ::fsync(fd_) == 0 && ::close(fd_) == 0;
    fd_ = -1;
    // rename replaces a link at the target itself, not what it names.
    if (!ok || ::rename(tmp_.c_str(), target_.c_str()) != 0) {
        ::unlink(tmp_.c_str());
        return false;
    }
    SyncFolderOf(target_);
    return true;
}

std::optional<std::string> CreateFreshFile(std::string_view prefix, unsigned mode) {
    auto host = ToHostPath(prefix);
    if (!host) return std::nullopt;
    std::string name = *host + "XXXXXX";
    const int fd = ::mkostemp(name.data(), O_CLOEXEC);
    if (fd < 0) return std::nullopt;
    // The mode a file created in the usual way would have.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(fd, mode_t(mode) & ~mask);
    ::close(fd);
    return std::string(prefix) + name.substr(name.size() - 6);
}

FolderLock::FolderLock(std::string_view dir) {
    auto host = ToHostPath(dir);
    if (!host) return;
    fd_ = ::open(host->c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd_ < 0) return;
    while (::flock(fd_, LOCK_EX) != 0) {
        if (errno == EINTR) continue;
        ::close(fd_);
        fd_ = -1;
        return;
    }
}

FolderLock::FolderLock(std::string_view dir, Progress& progress, const std::string& waiting) {
    auto host = ToHostPath(dir);
    if (!host) return;
    fd_ = ::open(host->c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd_ < 0) return;
    // Polled rather than waited for, so that the window keeps drawing and its
    // Stop button (or a Ctrl-C) is seen.
    bool waited = false;
    while (::flock(fd_, LOCK_EX | LOCK_NB) != 0) {
        if ((errno != EWOULDBLOCK && errno != EINTR) || progress.StopRequested()) {
            stopped_ = progress.StopRequested();
            ::close(fd_);
            fd_ = -1;
            return;
        }
        progress.SetStatus(waiting);
        waited = true;
        ::usleep(50 * 1000);
    }
    if (waited) progress.SetStatus(std::string());
}

FolderLock::~FolderLock() {
    if (fd_ >= 0) ::close(fd_);  // closing releases the lock
}

}  // namespace qv5
