// The header pass in pieces, shared by the parser and the file reader.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "library/chart_header.h"
#include "library/chart_record.h"

namespace qv5 {

class FileBuffer;

// What the pass carries from one line to the next.
struct ChartParseState {
    bool skipping = false;
    int lnobj = -12345;
    std::int32_t notes = 0;
    // False when the caller knows the bytes hold no NUL (saves a search per line).
    bool may_hold_nul = true;
};

// The pieces of [p, end) as text-mode reading gives them: CR LF reads as one
// line end, and a line is cut into pieces of kLinePieceBytes characters.
// Calls `piece` with each and returns how many bytes it used: all of them
// when `last`, otherwise it stops before a piece that may continue past `end`.
template <class PieceFn>
std::size_t ForEachChartPiece(const char* p, const char* const end, bool last, PieceFn&& piece) {
    const char* const begin = p;
    while (p < end) {
        const std::size_t left = static_cast<std::size_t>(end - p);
        // Look one byte further than a piece: a CR LF pair counts as one.
        const std::size_t window = left < kLinePieceBytes + 1 ? left : kLinePieceBytes + 1;
        const char* nl = static_cast<const char*>(std::memchr(p, '\n', window));
        if (!nl && !last && left <= kLinePieceBytes) break;
        std::size_t n;
        if (nl) {
            const std::size_t bytes_to_nl = static_cast<std::size_t>(nl - p) + 1;
            const std::size_t chars = bytes_to_nl - (nl > p && nl[-1] == '\r' ? 1 : 0);
            n = chars <= kLinePieceBytes ? bytes_to_nl : kLinePieceBytes;
        } else {
            n = left < kLinePieceBytes ? left : kLinePieceBytes;
        }
        piece(std::string_view(p, n));
        p += n;
    }
    return static_cast<std::size_t>(p - begin);
}

// The text of a line piece that the header pass looks at: up to a NUL (when
// the bytes may hold one), without white space at either end. `raw` is cut
// at the NUL too.
std::string_view ChartLineText(std::string_view& raw, bool may_hold_nul);
// The header pass over one piece; returns the piece's text (ChartLineText,
// which cuts `raw` too).
std::string_view ParseChartLine(ChartRecord& r, ChartParseState& st, std::string_view& raw);

// Text-mode reading: Ctrl-Z ends the file (the caller cuts it off), CR LF
// reads as one line end, and a line is cut into pieces of kLinePieceBytes
// characters. Parses the pieces of [p, end) and returns how many bytes it
// used: all of them when `last`, otherwise it stops before a piece that may
// continue past `end`. Does not set the record's note count.
std::size_t ParseChartPieces(ChartRecord& r, ChartParseState& st, const char* p, const char* end,
                             bool last);

// ReadChartHeader without what the chart's folder adds (directory, parent
// directory, txt): the file's own facts only. Any thread may call it, each
// with a buffer of its own.
// `cancel` (may be null) ends the read of a large chart between its pieces,
// which then counts as unreadable.
bool ReadChartFile(ChartRecord& r, const std::string& path, FileBuffer& buffer,
                   const std::atomic<bool>* cancel = nullptr);
// Charts up to this size are read whole (one read, hashed alongside);
// larger ones piece by piece, so memory stays bounded whatever the file.
inline constexpr std::int64_t kWholeReadBytes = 4 << 20;
// No chart is larger: the longest marathon charts in use are a few MB, and
// even a chart of 999 measures with every channel full of 1/192 notes stays
// near 40 MB. A larger file is no chart (a disk image named .bms, a sparse
// file) and is not read: reading 20 GB of it would hold a scan for a minute.
inline constexpr std::int64_t kLargestChartBytes = 64 << 20;
// ReadChartFile's work on a file read whole, but for the song hash.
void ParseChartFile(ChartRecord& r, const std::string& path, std::string_view bytes);
// What a chart's folder adds to its record (directory, parent directory,
// txt), as ReadChartHeader finds it. Any thread may call it.
void AddFolderFacts(ChartRecord& r, const std::string& path);
// A name that "*.txt" matches: what sets a chart's txt flag.
bool IsTextFileName(std::string_view name);

}  // namespace qv5
