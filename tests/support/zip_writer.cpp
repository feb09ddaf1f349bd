#include "support/zip_writer.h"

#include <archive.h>
#include <archive_entry.h>
#include <gtest/gtest.h>
#include <locale.h>

#include <cstring>

namespace qv5::test {
namespace {

// libarchive's zip writer sets the UTF-8 flag when the thread's locale is
// UTF-8 and stores the bytes as they are under the C locale.
class ThreadLocale {
  public:
    explicit ThreadLocale(const char* name) {
        loc_ = newlocale(LC_ALL_MASK, name, locale_t(0));
        if (loc_) old_ = uselocale(loc_);
    }
    ~ThreadLocale() {
        if (loc_) {
            uselocale(old_);
            freelocale(loc_);
        }
    }
    ThreadLocale(const ThreadLocale&) = delete;
    ThreadLocale& operator=(const ThreadLocale&) = delete;

  private:
    locale_t loc_ = locale_t(0), old_ = locale_t(0);
};

void AddEntry(archive* a, const ZipItem& item) {
    archive_entry* e = archive_entry_new();
    archive_entry_copy_pathname(e, item.name.c_str());
    archive_entry_set_mtime(e, 1262304000, 0);  // 2010-01-01
    switch (item.kind) {
        case ZipItem::Kind::File:
            archive_entry_set_filetype(e, AE_IFREG);
            archive_entry_set_perm(e, 0644);
            archive_entry_set_size(e, static_cast<la_int64_t>(item.data.size()));
            break;
        case ZipItem::Kind::Folder:
            archive_entry_set_filetype(e, AE_IFDIR);
            archive_entry_set_perm(e, 0755);
            break;
        case ZipItem::Kind::Symlink:
            archive_entry_set_filetype(e, AE_IFLNK);
            archive_entry_set_perm(e, 0777);
            archive_entry_copy_symlink(e, item.data.c_str());
            break;
    }
    ASSERT_EQ(archive_write_header(a, e), ARCHIVE_OK) << archive_error_string(a);
    if (item.kind == ZipItem::Kind::File && !item.data.empty()) {
        ASSERT_EQ(archive_write_data(a, item.data.data(), item.data.size()),
                  static_cast<la_ssize_t>(item.data.size()));
    }
    archive_entry_free(e);
}

}  // namespace

void WriteZip(const std::string& host_path, const std::vector<ZipItem>& items,
              const ZipOptions& options) {
    ThreadLocale locale(options.utf8_names ? "C.UTF-8" : "C");
    archive* a = archive_write_new();
    ASSERT_EQ(archive_write_set_format_zip(a), ARCHIVE_OK);
    if (options.stored) {
        ASSERT_EQ(archive_write_set_format_option(a, "zip", "compression", "store"), ARCHIVE_OK);
    }
    if (!options.passphrase.empty()) {
        ASSERT_EQ(archive_write_set_options(a, "zip:encryption=zipcrypt"), ARCHIVE_OK)
            << archive_error_string(a);
        ASSERT_EQ(archive_write_set_passphrase(a, options.passphrase.c_str()), ARCHIVE_OK);
    }
    ASSERT_EQ(archive_write_open_filename(a, host_path.c_str()), ARCHIVE_OK)
        << archive_error_string(a);
    for (const ZipItem& item : items) AddEntry(a, item);
    ASSERT_EQ(archive_write_close(a), ARCHIVE_OK) << archive_error_string(a);
    archive_write_free(a);
}

void WriteZipOfZeros(const std::string& host_path, const std::string& name, std::int64_t size) {
    archive* a = archive_write_new();
    ASSERT_EQ(archive_write_set_format_zip(a), ARCHIVE_OK);
    ASSERT_EQ(archive_write_open_filename(a, host_path.c_str()), ARCHIVE_OK);
    archive_entry* e = archive_entry_new();
    archive_entry_copy_pathname(e, name.c_str());
    archive_entry_set_filetype(e, AE_IFREG);
    archive_entry_set_perm(e, 0644);
    archive_entry_set_size(e, size);
    ASSERT_EQ(archive_write_header(a, e), ARCHIVE_OK);
    std::string zeros(1 << 20, '\0');
    for (std::int64_t left = size; left > 0;) {
        const size_t n = static_cast<size_t>(std::min<std::int64_t>(left, zeros.size()));
        ASSERT_EQ(archive_write_data(a, zeros.data(), n), static_cast<la_ssize_t>(n));
        left -= static_cast<std::int64_t>(n);
    }
    archive_entry_free(e);
    ASSERT_EQ(archive_write_close(a), ARCHIVE_OK);
    archive_write_free(a);
}

}  // namespace qv5::test
