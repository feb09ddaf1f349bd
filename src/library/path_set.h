// The paths of the library rows a refresh holds in memory, asked once for
// every entry of every listed folder. Open addressing over a flat table of
// hashes: a lookup touches one slot, and a key only when its hash matches.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qv5 {

class PathSet {
  public:
    // Room for `count` paths without growing.
    void Reserve(size_t count);
    // False when the path is in the set already.
    bool Insert(std::string path);
    bool Contains(std::string_view path) const;
    void Erase(std::string_view path);
    size_t size() const { return live_; }

  private:
    struct Slot {
        std::uint64_t hash = 0;
        std::uint32_t key = 0;  // index into keys_ plus one; 0: empty
        bool erased = false;    // keeps the probe chain through a removed key
    };
    // The slot holding `path`, or the empty slot where it would go.
    size_t Find(std::string_view path, std::uint64_t hash) const;
    void Grow(size_t slots);

    std::vector<Slot> slots_;
    std::vector<std::string> keys_;
    size_t used_ = 0;  // slots not empty, erased ones included
    size_t live_ = 0;
};

}  // namespace qv5
