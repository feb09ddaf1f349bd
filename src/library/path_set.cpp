#include "library/path_set.h"

#include <functional>

namespace qv5 {
namespace {

std::uint64_t HashOf(std::string_view path) {
    return std::hash<std::string_view>{}(path);
}

}  // namespace

size_t PathSet::Find(std::string_view path, std::uint64_t hash) const {
    const size_t mask = slots_.size() - 1;
    for (size_t i = hash & mask;; i = (i + 1) & mask) {
        const Slot& s = slots_[i];
        if (s.key == 0) return i;
        if (s.hash == hash && !s.erased && keys_[s.key - 1] == path) return i;
    }
}

// Kept at most half full, so probe chains stay short and an empty slot is
// always there to end them.
void PathSet::Grow(size_t slots) {
    size_t size = 16;
    while (size < slots) size *= 2;
    std::vector<Slot> old = std::move(slots_);
    slots_.assign(size, Slot{});
    used_ = 0;
    for (const Slot& s : old) {
        if (s.key == 0 || s.erased) continue;
        slots_[Find(keys_[s.key - 1], s.hash)] = s;
        ++used_;
    }
}

void PathSet::Reserve(size_t count) {
    if (count * 2 > slots_.size()) Grow(count * 2);
    keys_.reserve(count);
}

bool PathSet::Insert(std::string path) {
    if ((used_ + 1) * 2 > slots_.size()) Grow(live_ * 4 + 16);
    const std::uint64_t hash = HashOf(path);
    Slot& s = slots_[Find(path, hash)];
    if (s.key != 0) return false;
    keys_.push_back(std::move(path));
    s = {hash, static_cast<std::uint32_t>(keys_.size()), false};
    ++used_;
    ++live_;
    return true;
}

bool PathSet::Contains(std::string_view path) const {
    return !slots_.empty() && slots_[Find(path, HashOf(path))].key != 0;
}

void PathSet::Erase(std::string_view path) {
    if (slots_.empty()) return;
    Slot& s = slots_[Find(path, HashOf(path))];
    if (s.key == 0) return;
    s.erased = true;
    keys_[s.key - 1].clear();
    keys_[s.key - 1].shrink_to_fit();
    --live_;
}

}  // namespace qv5
