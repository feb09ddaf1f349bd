#include "install/archive_reader.h"

#include <locale.h>

#include "install/archive_library.h"
#include "platform/text.h"

namespace qv5 {
namespace {

// libarchive converts names into the thread's locale charset; under a UTF-8
// locale every name arrives as UTF-8 whatever the process locale is.
class Utf8Locale {
  public:
    Utf8Locale() {
        static locale_t utf8 = [] {
            locale_t l = newlocale(LC_ALL_MASK, "C.UTF-8", locale_t(0));
            return l ? l : newlocale(LC_ALL_MASK, "en_US.UTF-8", locale_t(0));
        }();
        if (utf8) old_ = uselocale(utf8);
    }
    ~Utf8Locale() {
        if (old_) uselocale(old_);
    }
    Utf8Locale(const Utf8Locale&) = delete;
    Utf8Locale& operator=(const Utf8Locale&) = delete;

  private:
    locale_t old_ = locale_t(0);
};

bool ValidUtf8(const std::string& s) {
    size_t i = 0;
    while (i < s.size()) {
        const unsigned char c = s[i];
        size_t n = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 0;
        if (n == 0 || i + n > s.size()) return false;
        for (size_t k = 1; k < n; ++k)
            if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return false;
        i += n;
    }
    return true;
}

// A RAR 4 name without its Unicode field reaches us as stored, in the
// Japanese code page of the archives this program meets, except that the
// library has turned every byte 0x5C into "/" on its way. 0x2F is never a CP932
// trail byte, so a "/" right after a lead byte was that character's 0x5C.
std::string RestoreTrailBytes(std::string name) {
    for (size_t i = 0; i + 1 < name.size(); ++i) {
        if (!IsLeadByte(static_cast<unsigned char>(name[i]))) continue;
        if (name[i + 1] == '/') name[i + 1] = '\x5C';
        ++i;
    }
    return name;
}

// Entry names become CP932 as names of files this program creates (see
// Utf8NameToCp932); code-page names stay as they are when they are CP932.
std::optional<std::string> ToCp932(const char* name, ArchiveKind kind) {
    if (!name) return std::nullopt;
    const std::string s(name);
    if (ValidUtf8(s)) return Utf8NameToCp932(s);
    const std::string cp932 = kind == ArchiveKind::Rar ? RestoreTrailBytes(s) : s;
    if (Cp932ToUtf8(cp932).find("\xEF\xBF\xBD") != std::string::npos) return std::nullopt;
    return cp932;
}

}  // namespace

ArchiveReader::~ArchiveReader() {
    if (a_) lib_->archive_read_free(a_);
}

bool ArchiveReader::Open(ArchiveKind kind, const std::string& host_path) {
    Utf8Locale utf8;
    kind_ = kind;
    lib_ = LoadArchiveLibrary();
    if (!lib_) {
        error_ = "libarchive cannot be loaded";
        return false;
    }
    a_ = lib_->archive_read_new();
    if (!a_) return false;
    if (kind == ArchiveKind::Zip) {
        lib_->archive_read_support_format_zip(a_);
        // Names without the UTF-8 flag are what Japanese archivers write.
        lib_->archive_read_set_format_option(a_, "zip", "hdrcharset", "CP932");
    } else {
        lib_->archive_read_support_format_rar(a_);
        lib_->archive_read_support_format_rar5(a_);
    }
    return lib_->archive_read_open_filename(a_, host_path.c_str(), 64 * 1024) == ARCHIVE_OK;
}

ArchiveReader::Step ArchiveReader::Next() {
    Utf8Locale utf8;
    const int r = lib_->archive_read_next_header(a_, &entry_);
    if (r == ARCHIVE_EOF) return Step::End;
    if (r != ARCHIVE_OK && r != ARCHIVE_WARN) return Step::Failed;
    name_ = ToCp932(lib_->archive_entry_pathname(entry_), kind_);
    if (name_ && name_->empty()) name_.reset();
    const mode_t t = lib_->archive_entry_filetype(entry_);
    if (lib_->archive_entry_hardlink(entry_) || t == AE_IFLNK)
        type_ = EntryType::Link;
    else if (t == AE_IFDIR)
        type_ = EntryType::Folder;
    else if (t == AE_IFREG || t == 0)
        type_ = EntryType::File;
    else
        type_ = EntryType::Special;
    encrypted_ = lib_->archive_entry_is_encrypted(entry_) != 0;
    mtime_.reset();
    if (lib_->archive_entry_mtime_is_set(entry_)) mtime_ = lib_->archive_entry_mtime(entry_);
    size_ = lib_->archive_entry_size_is_set(entry_) ? lib_->archive_entry_size(entry_) : -1;
    return Step::Entry;
}

int ArchiveReader::ReadBlock(const void** data, size_t* size, std::int64_t* offset) {
    la_int64_t off = 0;
    const int r = lib_->archive_read_data_block(a_, data, size, &off);
    *offset = off;
    if (r == ARCHIVE_EOF) return 0;
    // A warning while reading data is damage, such as a zip entry failing its
    // CRC: the bytes given are not the entry's.
    if (r != ARCHIVE_OK) return -1;
    return 1;
}

std::string ArchiveReader::error() const {
    const char* e = a_ ? lib_->archive_error_string(a_) : error_.c_str();
    return e ? Utf8ToCp932Lossy(e) : std::string();
}

}  // namespace qv5
