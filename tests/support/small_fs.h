// A small file system of its own (a tmpfs; the tests run as root), so that a
// test can fill it and see the program meet a full disk.
#pragma once

#include <string>

namespace qv5::test {

class SmallFileSystem {
  public:
    // Mounts a tmpfs of `kilobytes` at the host folder `host_dir` (created
    // when missing); fails the test when it cannot.
    SmallFileSystem(const std::string& host_dir, long kilobytes);
    ~SmallFileSystem();
    SmallFileSystem(const SmallFileSystem&) = delete;
    SmallFileSystem& operator=(const SmallFileSystem&) = delete;

    bool mounted() const { return mounted_; }
    // Fills the file system but for about `bytes`.
    void LeaveFree(long bytes) const;
    // Remounts it read-only, or writable again.
    bool ReadOnly(bool read_only) const;

  private:
    std::string dir_;
    bool mounted_ = false;
};

}  // namespace qv5::test
