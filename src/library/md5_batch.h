// Song hashes of many charts at once: where the processor has 256-bit
// vectors, eight messages go through MD5 side by side on one core.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace qv5 {

class Md5Batch {
  public:
    // `bytes` must stay alive and unchanged until Run() returns; the digest
    // (as Md5Hex gives it) is written to `*hex` then.
    void Add(std::string_view bytes, std::string* hex);
    size_t size() const { return items_.size(); }
    // Hashes everything added and empties the batch.
    void Run();

  private:
    struct Item {
        std::string_view bytes;
        std::string* hex;
    };
    std::vector<Item> items_;
};

// Whether Run() can hash side by side here (for tests and benchmarks).
bool Md5BatchIsParallel();

}  // namespace qv5
