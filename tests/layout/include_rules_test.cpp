// The floors of ARCHITECTURE.md as rules over the sources: a file includes
// only from its own floor or below, the two front ends not each other, and
// only platform/ touches host paths.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

const std::map<std::string, int> kFloors = {
    {"platform", 1}, {"library", 2}, {"config", 2}, {"player", 2}, {"browser", 3}, {"convert", 3},
    {"install", 3},  {"tables", 3},  {"cli", 4},    {"window", 4}, {"app", 5},
};

struct Source {
    std::string path;  // below src/, "library/scanner.cpp"
    std::string folder;
    std::vector<std::string> raw;    // as written
    std::vector<std::string> lines;  // without comments and string literals
    std::vector<std::string> includes;
};

// Drops // and /* */ comments and the contents of string and character
// literals, so that a rule never matches a text or a comment.
std::string Code(const std::string& line, bool& in_comment) {
    std::string out;
    for (size_t i = 0; i < line.size(); ++i) {
        if (in_comment) {
            if (line.compare(i, 2, "*/") == 0) in_comment = false, ++i;
            continue;
        }
        if (line.compare(i, 2, "//") == 0) break;
        if (line.compare(i, 2, "/*") == 0) {
            in_comment = true, ++i;
            continue;
        }
        const char c = line[i];
        if (c == '"' || c == '\'') {
            out += c;
            for (++i; i < line.size() && line[i] != c; ++i)
                if (line[i] == '\\') ++i;
            out += c;
            continue;
        }
        out += c;
    }
    return out;
}

std::vector<Source> Sources() {
    std::vector<Source> all;
    const fs::path root = fs::path(QV5_SOURCE_DIR) / "src";
    for (const auto& e : fs::recursive_directory_iterator(root)) {
        const std::string ext = e.path().extension().string();
        if (!e.is_regular_file() || (ext != ".cpp" && ext != ".h")) continue;
        Source s;
        s.path = fs::relative(e.path(), root).generic_string();
        s.folder = s.path.substr(0, s.path.find('/'));
        std::ifstream in(e.path());
        static const std::regex include(R"re(^\s*#\s*include\s*[<"]([^>"]+)[>"])re");
        bool in_comment = false;
        for (std::string line; std::getline(in, line);) {
            std::smatch m;
            if (std::regex_search(line, m, include)) s.includes.push_back(m[1]);
            s.lines.push_back(Code(line, in_comment));
            s.raw.push_back(line);
        }
        all.push_back(std::move(s));
    }
    return all;
}

std::string FolderOf(const std::string& include) {
    const size_t slash = include.find('/');
    return slash == std::string::npos ? std::string() : include.substr(0, slash);
}

TEST(IncludeRules, EveryFolderHasAFloor) {
    for (const Source& s : Sources()) {
        if (s.path.find('/') != std::string::npos) {
            EXPECT_TRUE(kFloors.count(s.folder)) << s.path;
        }
    }
}

TEST(IncludeRules, NothingIncludesFromAFloorAbove) {
    std::vector<std::string> upward;
    for (const Source& s : Sources()) {
        if (!kFloors.count(s.folder)) continue;
        const int floor = kFloors.at(s.folder);
        for (const std::string& inc : s.includes) {
            const std::string to = FolderOf(inc);
            if (!kFloors.count(to) || to == s.folder) continue;
            const int other = kFloors.at(to);
            // The two front ends share floor 4 but not each other's files.
            if (other > floor || (other == 4 && floor == 4)) upward.push_back(s.path + ": " + inc);
        }
    }
    EXPECT_EQ(upward, std::vector<std::string>{});
}

// The host's file system is reached only through platform/, so that the
// internal paths and their host form meet in one place.
TEST(IncludeRules, OnlyThePlatformTouchesHostPaths) {
    static const std::regex call(
        R"re((^|[^\w.>])(::)?(stat|lstat|fstat|realpath|fopen|opendir|open|mkdir|rmdir|unlink|rename|renameat2|symlink|readlink)\s*\()re");
    std::vector<std::string> found;
    for (const Source& s : Sources()) {
        if (s.folder == "platform") continue;
        std::vector<std::string> own;
        for (const std::string& inc : s.includes)
            if (inc == "filesystem" || inc == "sys/stat.h" || inc == "dirent.h")
                own.push_back(s.path + ": #include <" + inc + ">");
        for (size_t n = 0; n < s.lines.size(); ++n) {
            std::smatch m;
            if (std::regex_search(s.lines[n], m, call) ||
                s.lines[n].find("std::filesystem") != std::string::npos)
                own.push_back(s.path + ":" + std::to_string(n + 1) + ": " + s.lines[n]);
        }
        found.insert(found.end(), own.begin(), own.end());
    }
    EXPECT_EQ(found, std::vector<std::string>{});
}

// Paths are joined by their type (WinPath::Join, AsFolder), which knows that
// the trail byte of "表" is no separator and never doubles one.
TEST(IncludeRules, PathsAreJoinedThroughTheirType) {
    static const std::regex join(R"re([^+]\+\s*"\\\\"|"\\\\"\s*\+|[^+]\+\s*'\\\\')re");
    std::vector<std::string> found;
    for (const Source& s : Sources()) {
        if (s.folder == "platform") continue;
        for (size_t n = 0; n < s.raw.size(); ++n) {
            const std::string& line = s.raw[n];
            const size_t code = line.find_first_not_of(" \t");
            if (code != std::string::npos && line.compare(code, 2, "//") == 0) continue;
            if (std::regex_search(line, join))
                found.push_back(s.path + ":" + std::to_string(n + 1) + ": " + line);
        }
    }
    EXPECT_EQ(found, std::vector<std::string>{});
}

// The front ends and the folder rules call the library's functions; no
// statement on a database is written outside the floors that own them.
TEST(IncludeRules, SqlIsWrittenOnlyWhereTheDatabasesAreKept) {
    static const std::regex sql(
        R"re("\s*(SELECT|INSERT|UPDATE|DELETE|CREATE|DROP|ATTACH|PRAGMA|BEGIN|COMMIT|SAVEPOINT)\s+[^"\s])re");
    const std::set<std::string> keepers = {"platform", "library", "player"};
    std::vector<std::string> found;
    for (const Source& s : Sources()) {
        if (keepers.count(s.folder)) continue;
        for (size_t n = 0; n < s.raw.size(); ++n)
            if (std::regex_search(s.raw[n], sql))
                found.push_back(s.path + ":" + std::to_string(n + 1) + ": " + s.raw[n]);
    }
    EXPECT_EQ(found, std::vector<std::string>{});
}

// song.db is one object: the library's SongLibrary opens it, holds the one
// connection the program has to it (no process-wide one) and writes every
// statement on its tables, the course tables and what it attaches; the
// player databases' own files are player/'s. library/ takes the player
// database's path from its caller rather than including player/.
TEST(IncludeRules, SongDbIsReachedOnlyThroughTheSongLibrary) {
    static const std::regex song_tables(
        R"re("[^"]*\b(FROM|INTO|UPDATE|TABLE|JOIN)\s+(song|folder|tag|expert|nonstop|grade|course)\b)re");
    static const std::regex opened(R"re(Open\(\s*kSongDbPath)re");
    static const std::regex global(R"re((^|[^\w:])SongLibrary\(\)(?!\s*=\s*default))re");
    std::vector<std::string> found;
    for (const Source& s : Sources()) {
        const bool own = s.path.starts_with("library/");
        for (const std::string& inc : s.includes)
            if (own && FolderOf(inc) == "player") found.push_back(s.path + ": #include " + inc);
        for (size_t n = 0; n < s.raw.size(); ++n) {
            const std::string where = s.path + ":" + std::to_string(n + 1) + ": " + s.raw[n];
            if (std::regex_search(s.lines[n], global)) found.push_back(where);
            if (own || s.folder == "platform") continue;
            if (std::regex_search(s.raw[n], song_tables) || std::regex_search(s.lines[n], opened))
                found.push_back(where);
        }
    }
    EXPECT_EQ(found, std::vector<std::string>{});
}

}  // namespace
