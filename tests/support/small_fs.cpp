#include "support/small_fs.h"

#include <gtest/gtest.h>
#include <sys/mount.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

namespace qv5::test {

SmallFileSystem::SmallFileSystem(const std::string& host_dir, long kilobytes) : dir_(host_dir) {
    std::filesystem::create_directories(dir_);
    const std::string options = "size=" + std::to_string(kilobytes) + "k";
    mounted_ = mount("tmpfs", dir_.c_str(), "tmpfs", 0, options.c_str()) == 0;
    EXPECT_TRUE(mounted_) << "cannot mount a tmpfs at " << dir_ << ": " << std::strerror(errno);
}

SmallFileSystem::~SmallFileSystem() {
    if (mounted_) umount2(dir_.c_str(), MNT_DETACH);
}

}  // namespace qv5::test
