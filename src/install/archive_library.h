// libarchive, loaded the first time an archive is read rather than when the
// program starts: it brings libxml2 and ICU along, whose loading would double
// the start-up of every library command of the quick program. The archiver
// libraries of the Windows program were loaded the same way, when needed.
#pragma once

#include <archive.h>
#include <archive_entry.h>

namespace qv5 {

// The functions the install uses, named as libarchive names them.
struct ArchiveLibrary {
    decltype(&::archive_read_new) archive_read_new;
    decltype(&::archive_read_free) archive_read_free;
    decltype(&::archive_read_support_format_zip) archive_read_support_format_zip;
    decltype(&::archive_read_support_format_rar) archive_read_support_format_rar;
    decltype(&::archive_read_support_format_rar5) archive_read_support_format_rar5;
    decltype(&::archive_read_set_format_option) archive_read_set_format_option;
    decltype(&::archive_read_open_filename) archive_read_open_filename;
    decltype(&::archive_read_next_header) archive_read_next_header;
    decltype(&::archive_read_data_block) archive_read_data_block;
    decltype(&::archive_error_string) archive_error_string;
    decltype(&::archive_entry_pathname) archive_entry_pathname;
    decltype(&::archive_entry_filetype) archive_entry_filetype;
    decltype(&::archive_entry_hardlink) archive_entry_hardlink;
    decltype(&::archive_entry_is_encrypted) archive_entry_is_encrypted;
    decltype(&::archive_entry_mtime_is_set) archive_entry_mtime_is_set;
    decltype(&::archive_entry_mtime) archive_entry_mtime;
    decltype(&::archive_entry_size_is_set) archive_entry_size_is_set;
    decltype(&::archive_entry_size) archive_entry_size;
};

// The library, loaded on the first call; null when it cannot be loaded or
// lacks one of the functions (no archive can then be read).
const ArchiveLibrary* LoadArchiveLibrary();

}  // namespace qv5
