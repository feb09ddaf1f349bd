// The texts and places of the level folders (tables/level_folders.h), and
// their files read back, without Qt: the quick program's `songs --table`
// finds a table's charts here, as the game body does, without reading the
// table's JSON.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace qv5 {

// The song folder holding every table's level folder, relative to the game
// folder, as config.xml's list holds a root inside it.
inline constexpr const char* kLevelFoldersRoot = "tables\\";

// Table texts in the files are cut to this many bytes.
inline constexpr size_t kMaxLevelTextBytes = 200;

// A table text (UTF-8) for a line of a file: control characters and line
// breaks dropped, characters without a CP932 form as "?", cut at a character
// boundary to `max_bytes`.
std::string LevelFileText(const std::string& utf8, size_t max_bytes = kMaxLevelTextBytes);

// The title of one part of a level written in several files: "★12 (1/2)".
std::string LevelPartTitle(const std::string& title, size_t part, size_t parts);

// A level as its files give it (CP932): the table's name (#CATEGORY), the
// level as the game shows it (#TITLE, without the part of a split level)
// and the md5s of its commands in order, parts joined.
struct LevelFolderLevel {
    std::string table, title;
    std::vector<std::string> md5s;
};

// One file's bytes as ReadLevelFolders reads them: the last #TITLE,
// #CATEGORY and #COMMAND lines (LF or CR LF) count, a part's " (1/2)" is
// taken off the title, and each quoted text of 32 bytes in the command is
// an md5. False, with `out` as it was, for bytes without a #TITLE: no level
// folder's file.
bool ReadLevelFolderFile(std::string_view bytes, LevelFolderLevel& out);

// Every level of the level folders below kLevelFoldersRoot, each table's
// in the order of its file names (its level order).
std::vector<LevelFolderLevel> ReadLevelFolders();

}  // namespace qv5
