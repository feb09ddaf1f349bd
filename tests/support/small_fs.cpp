#include "support/small_fs.h"

#include <gtest/gtest.h>
#include <sys/mount.h>

#include <cerrno>
#include <cstring>
#include <cstdint>
#include <filesystem>
#include <fstream>

namespace qv5::test {

SmallFileSystem::SmallFileSystem(const std::string& host_dir, long kilobytes) : dir_(host_dir) {
    std::filesystem::create_directories(dir_);
    const std::string options = "size=" + std::to_string(kilobytes) + "k";
    mounted_ = mount("tmpfs", dir_.c_str(), "tmpfs", 0, options.c_str()) == 0;
    EXPECT_TRUE(mounted_) << "cannot mount a tmpfs at " << dir_ << ": " << std::strerror(errno);
}

SmallFileSystem::~SmallFileSystem() {
    if (mounted_ && umount2(dir_.c_str(), MNT_DETACH) != 0)
        ADD_FAILURE() << "cannot unmount " << dir_ << ": " << std::strerror(errno);
}

void SmallFileSystem::LeaveFree(long bytes) const {
    const std::string filler = dir_ + "/filler";
    {
        std::ofstream out(filler, std::ios::binary);
        const std::string block(4096, 'x');
        while (out.write(block.data(), block.size())) {
        }
    }
    const auto full = std::filesystem::file_size(filler);
    std::filesystem::resize_file(filler,
                                 full > static_cast<std::uintmax_t>(bytes) ? full - bytes : 0);
}

bool SmallFileSystem::ReadOnly(bool read_only) const {
    return mount(nullptr, dir_.c_str(), nullptr, MS_REMOUNT | (read_only ? MS_RDONLY : 0),
                 nullptr) == 0;
}

}  // namespace qv5::test
