#include "support/temp_game.h"

#include <gtest/gtest.h>
#include <fcntl.h>
#include <limits.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "config/config_file.h"
#include "platform/paths.h"

namespace qv5::test {

TempGame::TempGame() {
    char cwd[PATH_MAX];
    if (getcwd(cwd, sizeof cwd)) old_cwd_ = cwd;
    std::string tmpl = (std::filesystem::temp_directory_path() / "qv5testXXXXXX").string();
    if (!mkdtemp(tmpl.data())) ADD_FAILURE() << "mkdtemp failed";
    host_ = tmpl;
    MakeDir("QV5files/Config");
    MakeDir("QV5files/Database/Score");
    if (!SetProgramDirectory(host_)) ADD_FAILURE() << "cannot enter " << host_;
}

TempGame::~TempGame() {
    if (!old_cwd_.empty() && chdir(old_cwd_.c_str()) != 0) {
    }
    std::error_code ec;
    // Undo read-only folders made by a test before removing.
    for (auto it = std::filesystem::recursive_directory_iterator(host_, ec);
         !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec))
        std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ec);
    std::filesystem::remove_all(host_, ec);
}

void TempGame::WriteFile(const std::string& relative, const std::string& bytes) const {
    std::filesystem::path p = HostPath(relative);
    std::filesystem::create_directories(p.parent_path());
    std::ofstream(p, std::ios::binary) << bytes;
}

std::string TempGame::ReadFile(const std::string& relative) const {
    std::ifstream in(HostPath(relative), std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

bool TempGame::Exists(const std::string& relative) const {
    return std::filesystem::exists(HostPath(relative));
}

void TempGame::MakeDir(const std::string& relative) const {
    std::filesystem::create_directories(HostPath(relative));
}

void TempGame::MakeDeepFolder(const std::string& relative, int levels, const char* chart) const {
    MakeDir(relative);
    int dir = open(HostPath(relative).c_str(), O_RDONLY | O_DIRECTORY);
    const std::string name(200, 'd');
    for (int level = 0; level < levels && dir >= 0; ++level) {
        if (mkdirat(dir, name.c_str(), 0755) != 0) ADD_FAILURE() << "mkdirat at level " << level;
        if (chart) {
            const int file = openat(dir, chart, O_WRONLY | O_CREAT, 0644);
            if (file < 0) ADD_FAILURE() << "cannot write " << chart << " at level " << level;
            close(file);
        }
        const int next = openat(dir, name.c_str(), O_RDONLY | O_DIRECTORY);
        close(dir);
        dir = next;
    }
    if (dir < 0) ADD_FAILURE() << "cannot open a level of " << relative;
    close(dir);
}

std::string JoinedRoots(const std::vector<std::string>& roots) {
    std::string out;
    for (const std::string& root : roots) out += root + ";";
    return out;
}

std::string ConfigRoots() {
    ConfigRecord config;
    LoadConfig(config);
    return JoinedRoots(SongFolders(config));
}

}  // namespace qv5::test
