// What the archive tests share: a game folder, a listing of what is on disk,
// the archivers' extraction command.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>

#include "install/archive.h"
#include "support/temp_game.h"
#include "support/zip_writer.h"

namespace qv5 {

namespace fs = std::filesystem;

// Every entry below the game folder, "/" after folders, "@" after links.
inline std::set<std::string> Tree(const test::TempGame& game, const std::string& below = "") {
    std::set<std::string> out;
    const fs::path root = fs::path(game.host()) / below;
    if (!fs::exists(root)) return out;
    for (auto it = fs::recursive_directory_iterator(root); it != fs::recursive_directory_iterator();
         ++it) {
        std::string rel = fs::relative(it->path(), root).string();
        if (it->is_symlink())
            rel += "@";
        else if (it->is_directory())
            rel += "/";
        out.insert(rel);
    }
    return out;
}

inline std::string Command(const std::string& archive, const std::string& dest) {
    return "-x \"" + archive + "\" \"" + dest + "/\" *.*";
}

inline test::ZipOptions Encrypted() {
    test::ZipOptions o;
    o.passphrase = "secret";
    return o;
}

inline test::ZipOptions Utf8Names() {
    test::ZipOptions o;
    o.utf8_names = true;
    return o;
}

class ArchiveTest : public ::testing::Test {
  protected:
    int Extract(const std::string& dest, ExtractReport& report, const ExtractOptions& options = {},
                const std::string& archive = "a.zip") {
        return ExtractArchive(ArchiveKind::Zip, Command(archive, dest), report, options);
    }
    test::TempGame game;
};

}  // namespace qv5
