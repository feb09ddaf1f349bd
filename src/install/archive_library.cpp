#include "install/archive_library.h"

#include <dlfcn.h>

namespace qv5 {
namespace {

template <typename F>
bool Bind(void* handle, const char* name, F& f) {
    f = reinterpret_cast<F>(dlsym(handle, name));
    return f != nullptr;
}

ArchiveLibrary* Load() {
    // The library of the headers this was built with; the unversioned name
    // where only the development link is there.
    void* handle = dlopen("libarchive.so.13", RTLD_NOW | RTLD_LOCAL);
    if (!handle) handle = dlopen("libarchive.so", RTLD_NOW | RTLD_LOCAL);
    if (!handle) return nullptr;
    static ArchiveLibrary lib;
#define QV5_BIND(name) Bind(handle, #name, lib.name)
    const bool all =
        QV5_BIND(archive_read_new) && QV5_BIND(archive_read_free) &&
        QV5_BIND(archive_read_support_format_zip) && QV5_BIND(archive_read_support_format_rar) &&
        QV5_BIND(archive_read_support_format_rar5) && QV5_BIND(archive_read_set_format_option) &&
        QV5_BIND(archive_read_open_filename) && QV5_BIND(archive_read_next_header) &&
        QV5_BIND(archive_read_data_block) && QV5_BIND(archive_error_string) &&
        QV5_BIND(archive_entry_pathname) && QV5_BIND(archive_entry_filetype) &&
        QV5_BIND(archive_entry_hardlink) && QV5_BIND(archive_entry_is_encrypted) &&
        QV5_BIND(archive_entry_mtime_is_set) && QV5_BIND(archive_entry_mtime) &&
        QV5_BIND(archive_entry_size_is_set) && QV5_BIND(archive_entry_size);
#undef QV5_BIND
    return all ? &lib : nullptr;
}

}  // namespace

const ArchiveLibrary* LoadArchiveLibrary() {
    // Loaded once, by whichever thread asks first; never unloaded.
    static ArchiveLibrary* const lib = Load();
    return lib;
}

}  // namespace qv5
