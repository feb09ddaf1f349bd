// Arbitrary bytes as a level folder's file: what the reader gives must come
// back the same when written as a part of a split level is (the title with
// its " (1/2)", CR LF, one command quoting each md5), and every md5 it
// gives is a quoted text of 32 bytes.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "tables/level_folder_files.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    qv5::LevelFolderLevel level;
    if (!qv5::ReadLevelFolderFile(bytes, level)) {
        if (bytes.starts_with("#TITLE ") || bytes.find("\n#TITLE ") != std::string_view::npos) {
            std::fprintf(stderr, "a #TITLE line, but no level\n");
            std::abort();
        }
        return 0;
    }
    std::string command = "song.hash IN (";
    for (size_t i = 0; i < level.md5s.size(); ++i) {
        if (level.md5s[i].size() != 32 || level.md5s[i].find('\'') != std::string::npos) {
            std::fprintf(stderr, "md5 %zu is no quoted text of 32 bytes\n", i);
            std::abort();
        }
        command += (i ? ",'" : "'") + level.md5s[i] + "'";
    }
    command += ')';
    const std::string written = "#TITLE " + qv5::LevelPartTitle(level.title, 1, 2) +
                                "\r\n#CATEGORY " + level.table +
                                "\r\n#INFORMATION_A 1 / 2\r\n#COMMAND " + command + "\r\n";
    qv5::LevelFolderLevel again;
    if (!qv5::ReadLevelFolderFile(written, again) || again.title != level.title ||
        again.table != level.table || again.md5s != level.md5s) {
        std::fprintf(stderr, "written and read again, the level differs\n");
        std::abort();
    }
    return 0;
}
