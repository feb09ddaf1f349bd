// File-system work that waits on the kernel item by item (a stat or a
// listing each) spread over the cores, each thread on a contiguous part so
// that per-folder caches keep working.
#pragma once

#include <algorithm>
#include <cstddef>
#include <thread>
#include <vector>

namespace qv5 {

// Calls fn(begin, end) for contiguous parts of [0, count) on up to `threads`
// threads, this one included, and returns when all are done. No part is made
// smaller than `min_part` items. `fn` must not throw.
template <class Fn>
void ForEachPart(size_t count, unsigned threads, size_t min_part, const Fn& fn) {
    const size_t parts =
        std::clamp<size_t>(count / std::max<size_t>(min_part, 1), 1, std::max(threads, 1u));
    const size_t step = (count + parts - 1) / parts;
    std::vector<std::thread> others;
    for (size_t begin = step; begin < count; begin += step) {
        const size_t end = std::min(count, begin + step);
        try {
            others.emplace_back([&fn, begin, end] { fn(begin, end); });
        } catch (...) {
            fn(begin, end);  // no thread to be had: this one does the part
        }
    }
    if (count > 0) fn(0, std::min(count, step));
    for (std::thread& t : others) t.join();
}

}  // namespace qv5
