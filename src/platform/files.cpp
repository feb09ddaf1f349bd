#include "platform/files.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>

#include "platform/paths.h"
#include "platform/text.h"

namespace qv5 {

FileTime ToFileTime(std::int64_t unix_seconds) {
    const time_t t = static_cast<time_t>(unix_seconds);
    struct tm tm {};
    gmtime_r(&t, &tm);
    return FileTime{tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec};
}

bool WriteAll(int fd, std::string_view data) {
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

namespace {

bool Stat(std::string_view path, struct stat& st) {
    auto host = ToHostPath(path);
    return host && ::stat(host->c_str(), &st) == 0;
}

// Bytes of the UTF-8 sequence at the start of `s`; 0 when it is none.
size_t Utf8SequenceLength(std::string_view s) {
    const unsigned char c = static_cast<unsigned char>(s[0]);
    const size_t n = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 0;
    if (n == 0 || n > s.size()) return 0;
    for (size_t i = 1; i < n; ++i)
        if ((static_cast<unsigned char>(s[i]) & 0xC0) != 0x80) return 0;
    return n;
}

// Text for the person: UTF-8 as it is, any other byte as \xNN.
std::string ShownName(std::string_view s) {
    std::string out;
    for (size_t i = 0; i < s.size();) {
        const size_t n = Utf8SequenceLength(s.substr(i));
        if (n == 0) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", static_cast<unsigned char>(s[i]));
            out += hex;
            ++i;
        } else {
            out.append(s.substr(i, n));
            i += n;
        }
    }
    return out;
}

// The first character of a host name that has no CP932 form ("\\" has no
// internal one).
std::string FirstUnheldCharacter(std::string_view name) {
    for (size_t i = 0; i < name.size();) {
        const size_t n = Utf8SequenceLength(name.substr(i));
        if (n == 0) return ShownName(name.substr(i, 1));
        const std::string_view c = name.substr(i, n);
        if (c == "\\" || !Utf8ToCp932(c)) return std::string(c);
        i += n;
    }
    return ShownName(name.substr(0, Utf8SequenceLength(name)));  // only the whole fails
}

std::string AbsoluteHost(std::string host) {
    if (!host.empty() && host.front() != '/')
        if (const auto base = ToHostPath(ProgramDirectory())) host = *base + "/" + host;
    return host;
}

}  // namespace

bool ListFolder(std::string_view dir, std::vector<DirEntry>& out, ListDetail detail,
                FileTime* folder_time, std::vector<UnheldName>* unheld) {
    out.clear();
    auto host = ToHostPath(dir);
    if (!host) return false;
    const int fd = ::open(host->c_str(), O_RDONLY | O_NONBLOCK | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return false;
    if (folder_time) {
        struct stat st {};
        if (::fstat(fd, &st) != 0) {
            ::close(fd);
            return false;
        }
        *folder_time = ToFileTime(st.st_mtime);
    }
    DIR* d = fdopendir(fd);
    if (!d) {
        ::close(fd);
        return false;
    }
    while (struct dirent* e = readdir(d)) {
        std::string_view n = e->d_name;
        if (n == "." || n == "..") continue;
        // A host "\\" has no internal form; skip names that cannot be represented.
        auto name = n.find('\\') == std::string_view::npos ? Utf8ToCp932(n) : std::nullopt;
        if (!name) {
            if (unheld)
                unheld->push_back({ShownName(AbsoluteHost(*host) + "/" + std::string(n)),
                                   FirstUnheldCharacter(n)});
            continue;
        }
        DirEntry entry;
        if (detail == ListDetail::NamesAndKinds &&
            (e->d_type == DT_DIR || e->d_type == DT_REG || e->d_type == DT_FIFO)) {
            entry.name = std::move(*name);
            entry.directory = e->d_type == DT_DIR;
            out.push_back(std::move(entry));
            continue;
        }
        struct stat st {};
        if (fstatat(fd, e->d_name, &st, 0) != 0) continue;  // dangling link
        entry.name = std::move(*name);
        entry.directory = S_ISDIR(st.st_mode);
        entry.write_time = ToFileTime(st.st_mtime);
        entry.size = st.st_size;
        out.push_back(std::move(entry));
    }
    closedir(d);
    return true;
}

bool PathExists(std::string_view path) {
    struct stat st {};
    return Stat(path, st);
}

std::optional<std::string> FolderWriteProblem(std::string_view dir) {
    const std::optional<std::string> host = ToHostPath(dir);
    if (!host) return std::string(std::strerror(ENOENT));
    struct stat st {};
    if (stat(host->c_str(), &st) != 0) return std::string(std::strerror(errno));
    if (!S_ISDIR(st.st_mode)) return std::string(std::strerror(ENOTDIR));
    if (access(host->c_str(), W_OK | X_OK) != 0) return std::string(std::strerror(errno));
    return std::nullopt;
}

std::string HostPathForMessage(std::string_view path) {
    std::optional<std::string> host = ToHostPath(path);
    if (!host) return std::string(path);
    if (host->front() != '/')
        if (const auto base = ToHostPath(ProgramDirectory())) host = *base + "/" + *host;
    return Utf8ToCp932Lossy(*host);
}

bool IsDirectory(std::string_view path) {
    struct stat st {};
    return Stat(path, st) && S_ISDIR(st.st_mode);
}

std::optional<FileTime> WriteTime(std::string_view path) {
    struct stat st {};
    if (!Stat(path, st)) return std::nullopt;
    return ToFileTime(st.st_mtime);
}

std::optional<std::int64_t> ChangeStamp(std::string_view path) {
    const auto version = VersionOf(path);
    if (!version) return std::nullopt;
    return version->stamp;
}

std::optional<FileVersion> VersionOf(std::string_view path) {
    struct stat st {};
    if (!Stat(path, st)) return std::nullopt;
    return FileVersion{std::int64_t{st.st_size},
                       std::int64_t{st.st_mtim.tv_sec} * 1000000000 + st.st_mtim.tv_nsec};
}

bool CreateFolder(std::string_view path) {
    auto host = ToHostPath(path);
    return host && mkdir(host->c_str(), 0777) == 0;
}

bool CreateFolders(std::string_view path) {
    const std::optional<std::string> host = ToHostPath(path);
    if (!host) return false;
    // Each prefix ending before a separator, then the whole path.
    for (size_t at = host->find('/', 1);; at = host->find('/', at + 1)) {
        const std::string folder = host->substr(0, at);
        if (mkdir(folder.c_str(), 0777) != 0 && errno != EEXIST) return false;
        if (at == std::string::npos) break;
    }
    struct stat st {};
    return stat(host->c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool MovePath(std::string_view from, std::string_view to) {
    auto a = ToHostPath(from), b = ToHostPath(to);
    if (!a || !b) return false;
    // rename(2) silently replaces an existing file: the kernel refuses that
    // for us where it can. File systems without RENAME_NOREPLACE get a check
    // first (a small race, no worse than the Windows move).
    if (::renameat2(AT_FDCWD, a->c_str(), AT_FDCWD, b->c_str(), RENAME_NOREPLACE) == 0) return true;
    if (errno != EINVAL && errno != ENOSYS) return false;
    struct stat st {};
    if (::lstat(b->c_str(), &st) == 0) return false;
    return ::rename(a->c_str(), b->c_str()) == 0;
}

bool ExchangePaths(std::string_view a, std::string_view b) {
    auto x = ToHostPath(a), y = ToHostPath(b);
    if (!x || !y) {
        errno = ENOENT;
        return false;
    }
    return ::renameat2(AT_FDCWD, x->c_str(), AT_FDCWD, y->c_str(), RENAME_EXCHANGE) == 0;
}

bool CreateEmptyFile(std::string_view path, unsigned mode) {
    const auto host = ToHostPath(path);
    if (!host) return false;
    const int fd = ::open(host->c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode_t(mode));
    if (fd < 0) return false;
    return ::close(fd) == 0;
}

bool CopyFileNoOverwrite(std::string_view from, std::string_view to, unsigned mode) {
    auto a = ToHostPath(from), b = ToHostPath(to);
    if (!a || !b) return false;
    int in = ::open(a->c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (in < 0) return false;
    struct stat st {};
    if (fstat(in, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(in);
        return false;
    }
    int out = ::open(b->c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC,
                     st.st_mode & 0777 & mode_t(mode));
    if (out < 0) {
        ::close(in);
        return false;
    }
    bool ok = true;
    char buf[65536];
    for (;;) {
        ssize_t n = ::read(in, buf, sizeof buf);
        if (n == 0) break;
        if (n < 0) {
            if (errno == EINTR) continue;
            ok = false;
            break;
        }
        if (!WriteAll(out, std::string_view(buf, static_cast<size_t>(n)))) {
            ok = false;
            break;
        }
    }
    ::close(in);
    if (::close(out) != 0) ok = false;
    if (!ok) ::unlink(b->c_str());
    return ok;
}

bool DeletePath(std::string_view path) {
    auto host = ToHostPath(path);
    if (!host) return false;
    struct stat st {};
    if (::lstat(host->c_str(), &st) != 0) return false;
    return S_ISDIR(st.st_mode) ? ::rmdir(host->c_str()) == 0 : ::unlink(host->c_str()) == 0;
}

namespace {

// An editor that saves in place (cuts the file to nothing, then writes it)
// changes the size or the times of the file a read may be halfway through.
// A change that follows a look at the times gets a later time, however
// soon it comes, so the times tell versions apart.
std::array<std::int64_t, 7> Version(const struct stat& st) {
    return {std::int64_t(st.st_dev),          std::int64_t(st.st_ino),
            std::int64_t(st.st_size),         std::int64_t(st.st_mtim.tv_sec),
            std::int64_t(st.st_mtim.tv_nsec), std::int64_t(st.st_ctim.tv_sec),
            std::int64_t(st.st_ctim.tv_nsec)};
}
bool SameVersion(const struct stat& a, const struct stat& b) {
    return Version(a) == Version(b);
}

// Reads of a file that keeps changing before it is given up for now.
constexpr int kReadAttempts = 4;

}  // namespace

bool FileBuffer::Read(std::string_view path, std::int64_t limit) {
    size_ = 0;
    too_large_ = changing_ = false;
    auto host = ToHostPath(path);
    if (!host) return false;
    // Non-blocking, and regular files only: a FIFO or device never hangs a read.
    int fd = ::open(host->c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return false;
    // The bytes are one version of the file: when its size or times changed
    // while it was read, it is read again from the start.
    for (int attempt = 0; attempt < kReadAttempts; ++attempt) {
        struct stat st {};
        if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size > limit) {
            too_large_ = S_ISREG(st.st_mode) && st.st_size > limit;
            ::close(fd);
            return false;
        }
        size_ = 0;
        bool ok = true;
        const size_t hint = st.st_size > 0 ? static_cast<size_t>(st.st_size) + 1 : 65536;
        for (;;) {
            if (size_ == capacity_ || capacity_ < hint) {
                const size_t grown = std::max(hint, capacity_ * 2);
                std::unique_ptr<char[]> bigger(new char[grown]);
                if (size_) std::memcpy(bigger.get(), data_.get(), size_);
                data_ = std::move(bigger);
                capacity_ = grown;
            }
            const ssize_t n =
                ::pread(fd, data_.get() + size_, capacity_ - size_, static_cast<off_t>(size_));
            if (n == 0) break;
            if (n < 0) {
                if (errno == EINTR) continue;
                ok = false;
                break;
            }
            size_ += static_cast<size_t>(n);
        }
        struct stat after {};
        if (!ok || fstat(fd, &after) != 0) break;
        if (SameVersion(st, after) && size_ == static_cast<size_t>(st.st_size)) {
            write_time_ = ToFileTime(st.st_mtime);
            version_ = Version(st);
            ::close(fd);
            return true;
        }
        changing_ = attempt + 1 == kReadAttempts;
    }
    ::close(fd);
    size_ = 0;
    return false;
}

bool FileBuffer::StillAsRead(std::string_view path) const {
    struct stat st {};
    return Stat(path, st) && Version(st) == version_;
}

void FileBuffer::Release() {
    data_.reset();
    size_ = capacity_ = 0;
}

std::optional<std::int64_t> FileSize(std::string_view path) {
    struct stat st {};
    if (!Stat(path, st)) return std::nullopt;
    return std::int64_t{st.st_size};
}

FileReader::~FileReader() {
    if (fd_ >= 0) ::close(fd_);
}

bool IsReadable(std::string_view path) {
    const auto host = ToHostPath(path);
    return host && ::access(host->c_str(), R_OK) == 0;
}

HostFileStream::~HostFileStream() {
    if (file_) std::fclose(file_);
}

bool HostFileStream::Open(const std::string& host_path) {
    if (file_) std::fclose(file_);
    file_ = std::fopen(host_path.c_str(), "rb");
    return file_ != nullptr;
}

bool HostFileStream::Read(void* out, size_t size) {
    return file_ && std::fread(out, 1, size, file_) == size;
}

int HostFileStream::Byte() {
    if (!file_) return -1;
    const int b = std::fgetc(file_);
    return b == EOF ? -1 : b;
}

bool HostFileStream::Skip(std::int64_t size) {
    return file_ && fseeko(file_, static_cast<off_t>(size), SEEK_CUR) == 0;
}

bool FileReader::Open(std::string_view path) {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    auto host = ToHostPath(path);
    if (!host) return false;
    fd_ = ::open(host->c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd_ < 0) return false;
    struct stat st {};
    if (fstat(fd_, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd_);
        fd_ = -1;
        return false;
    }
    return true;
}

std::optional<std::string_view> FileReader::Next(std::string& buffer, size_t max) {
    if (fd_ < 0) return std::nullopt;
    if (buffer.size() < max) buffer.resize(max);
    for (;;) {
        const ssize_t n = ::read(fd_, buffer.data(), max);
        if (n >= 0) return std::string_view(buffer.data(), static_cast<size_t>(n));
        if (errno != EINTR) return std::nullopt;
    }
}

bool ReadWholeFile(std::string_view path, std::string& out) {
    FileBuffer buffer;
    const bool ok = buffer.Read(path);
    out.assign(buffer.view());
    return ok;
}

}  // namespace qv5
