#include "support/fake_wine.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace qv5::test {

FakeWine::FakeWine() {
    std::string tmpl = (std::filesystem::temp_directory_path() / "qv5wineXXXXXX").string();
    if (!mkdtemp(tmpl.data())) ADD_FAILURE() << "mkdtemp failed";
    dir_ = tmpl;
    bin_ = dir_ + "/bin";
    std::filesystem::create_directories(bin_);
    // The record is written with one printf: runs started side by side
    // (folders are converted in parallel) must not interleave their lines.
    std::ofstream(script()) << "#!/bin/sh\n"
                               "r=\"@run\n$(pwd)\"\n"
                               "for a in \"$@\"; do r=\"$r\n$a\"; done\n"
                               "printf '%s\\n' \"$r\" >> '"
                            << log()
                            << "'\n"
                               "if [ -f '"
                            << dir_ << "/action' ]; then . '" << dir_
                            << "/action'; fi\n"
                               "exit 0\n";
    chmod(script().c_str(), 0755);
    if (const char* p = getenv("PATH")) old_path_ = p;
    if (const char* w = getenv("QV5_WINE")) {
        had_wine_env_ = true;
        old_wine_ = w;
    }
    unsetenv("QV5_WINE");
    setenv("PATH", (bin_ + ":" + old_path_).c_str(), 1);
}

FakeWine::~FakeWine() {
    setenv("PATH", old_path_.c_str(), 1);
    if (had_wine_env_) setenv("QV5_WINE", old_wine_.c_str(), 1);
    std::error_code ec;
    std::filesystem::remove_all(dir_, ec);
}

void FakeWine::SetAction(const std::string& sh) {
    std::ofstream(dir_ + "/action") << sh << "\n";
}

void FakeWine::Remove() {
    std::filesystem::remove(script());
    // Only the basic tools stay reachable, so a real wine cannot stand in.
    setenv("PATH", "/usr/bin:/bin", 1);
    if (std::filesystem::exists("/usr/bin/wine") || std::filesystem::exists("/bin/wine"))
        setenv("QV5_WINE", (dir_ + "/no-wine").c_str(), 1);
}

std::vector<WineRun> FakeWine::Runs() const {
    std::vector<WineRun> runs;
    std::ifstream in(log());
    std::string line;
    while (std::getline(in, line)) {
        if (line == "@run") {
            runs.emplace_back();
            std::getline(in, runs.back().cwd);
        } else if (!runs.empty()) {
            runs.back().argv.push_back(line);
        }
    }
    return runs;
}

}  // namespace qv5::test
