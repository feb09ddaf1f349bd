// Arbitrary bytes as a hidden-chart candidate, read in pieces: the partial
// read must give the header reader's note count (and its verdict) for every
// input and however the reads cut it. The first two bytes choose the sizes of
// the first piece and of the others (HeaderNoteCount reads 64 KiB, then 1 MiB,
// which no small input would cut).
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "browser/hidden_search.h"
#include "library/chart_header.h"

namespace {

std::int32_t CountInPieces(std::string_view bytes, size_t first, size_t next, bool until_first) {
    qv5::NoteCountReader counter(until_first);
    size_t want = first;
    while (!bytes.empty()) {
        const std::string_view piece = bytes.substr(0, want);
        bytes.remove_prefix(piece.size());
        want = next;
        if (!counter.Feed(piece)) break;
    }
    return counter.Finish();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    const size_t first = size_t(data[0]) + 1, next = size_t(data[1]) + 1;
    const std::string_view bytes(reinterpret_cast<const char*>(data + 2), size - 2);
    qv5::ChartRecord full;
    qv5::ParseChartHeader(full, bytes);
    const std::int32_t all = CountInPieces(bytes, first, next, false);
    const std::int32_t until_first = CountInPieces(bytes, first, next, true);
    if (all != full.note_count || (until_first > 0) != (full.note_count > 0)) {
        std::fprintf(stderr, "pieces of %zu then %zu: %d and %d notes, the header reader %d\n",
                     first, next, all, until_first, full.note_count);
        std::abort();
    }
    return 0;
}
