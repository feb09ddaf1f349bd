// A difficulty table (難易度表) as this program reads it: the header (name,
// symbol, where the data is, the order of the levels, courses) and the
// entries of the data, each a chart at a level of the table's own scale.
//
// The texts here are UTF-8, as the table gives them, not CP932: titles and
// names of tables hold characters that have no CP932 form, and they are
// only shown (escaped on a terminal, through the JSON writer in --json, as
// QString in the window). None of them becomes a path or a statement: a
// table's folder name is made by TableFolderName, and matching against
// song.db is done in memory on the md5, checked to be 32 hexadecimal digits.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "library/library_hashes.h"

namespace qv5 {

// Each fetched file (page, header, data) is refused beyond this: the
// largest tables in use are about 5,000 entries and under 2 MB.
inline constexpr std::int64_t kMaxTableFileBytes = std::int64_t{32} << 20;
// A header or data file with more JSON objects and lists than this is
// refused before it is parsed: a table of 2 million entries would take
// gigabytes as a document.
inline constexpr long kMaxTableValues = 250000;

struct TableCourse {
    std::string name;
    long charts = 0;  // the md5s it lists
};

struct TableHeader {
    std::string name;      // required, never empty
    std::string symbol;    // "★", "sl", may be empty
    std::string data_url;  // as written: relative to the header's own address
    std::string tag, last_update;
    std::vector<std::string> level_order;  // level texts, as LevelText makes them
    std::vector<TableCourse> courses;      // a list of lists is flattened
};

enum class EntryKey {
    Md5,         // md5 holds 32 lower-case hexadecimal digits
    Sha256Only,  // no valid md5, a sha256 of 64 hexadecimal digits
    None,        // neither: can never be matched
};

struct TableEntry {
    std::string level;  // never empty: an entry without one is left out
    std::string md5;    // empty unless key is Md5; the table's text is not kept
    Md5Key md5_key;     // the same as bytes, what the library is matched by
    EntryKey key = EntryKey::None;
    std::string title, artist, url, url_diff, name_diff, comment;
};

struct TableData {
    std::vector<TableEntry> entries;
    long without_level = 0;  // left out
    long not_entries = 0;    // items of the list that are no object, left out
    long sha256_only = 0;
    long unmatchable = 0;  // EntryKey::None
};

// Reads the bytes of a header / data file (a UTF-8 byte-order mark, bytes
// that are no UTF-8, numbers where texts belong all taken). False with a
// message (CP932) saying why when it is no table's file.
bool ReadTableHeader(std::string_view bytes, TableHeader& out, std::string& error);
bool ReadTableData(std::string_view bytes, TableData& out, std::string& error);

// Whether `bytes` look like a JSON object rather than a page (after a
// byte-order mark and white space, a "{").
bool LooksLikeJsonObject(std::string_view bytes);

// The level's text of a JSON number: 12 and 12.0 give "12", 9.5 "9.5".
std::string NumberText(double value);

}  // namespace qv5
