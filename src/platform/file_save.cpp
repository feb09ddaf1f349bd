// Saving a whole file safely: see WriteFileAtomic and FolderLock.
#include <fcntl.h>
#include <limits.h>
#include <stdlib.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "platform/files.h"
#include "platform/paths.h"

namespace qv5 {
namespace {

bool WriteAllTo(int fd, std::string_view data) {
    for (size_t off = 0; off < data.size();) {
        const ssize_t w = ::write(fd, data.data() + off, data.size() - off);
        if (w < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        off += static_cast<size_t>(w);
    }
    return true;
}

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
    bool ok = WriteAllTo(fd, data) && ::ftruncate(fd, off_t(data.size())) == 0 && ::fsync(fd) == 0;
    if (::close(fd) != 0) ok = false;
    return ok;
}

}  // namespace

bool WriteFileAtomic(std::string_view path, std::string_view data) {
    auto host = ToHostPath(path);
    if (!host) {
        errno = EINVAL;
        return false;
    }
    const std::string target = FinalTarget(*host);
    struct stat st {};
    const bool exists = ::stat(target.c_str(), &st) == 0;
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
        ::fchmod(fd, 0666 & ~mask);
    }
    bool ok = WriteAllTo(fd, data);
    if (ok && ::fsync(fd) != 0) ok = false;
    if (::close(fd) != 0) ok = false;
    if (ok && ::rename(tmp.c_str(), target.c_str()) != 0) ok = false;
    if (!ok) {
        const int err = errno;  // why it failed, for the caller to tell
        ::unlink(tmp.c_str());
        errno = err;
        return false;
    }
    // The rename itself reaches the disk with the folder.
    const size_t slash = target.rfind('/');
    const std::string dir = slash == std::string::npos ? "." : target.substr(0, slash + 1);
    const int dir_fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir_fd >= 0) {
        ::fsync(dir_fd);
        ::close(dir_fd);
    }
    return true;
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

FolderLock::~FolderLock() {
    if (fd_ >= 0) ::close(fd_);  // closing releases the lock
}

}  // namespace qv5
