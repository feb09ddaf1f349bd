// Why a candidate may be read only in part, with the same outcome as the
// header reader's full read: the reader reads in text mode, where Ctrl-Z
// (0x1A) ends the file, so nothing after the first one can add a note; and
// its note count only grows from line to line, so once a line has added one
// the file is a hidden chart whatever follows. Nothing else ends the reading
// early: notes may follow any amount of binary data (NUL bytes or a long
// stretch without a "#" line prove nothing, since the reader goes on with
// the next line). Audio and image files nearly always hold a 0x1A within
// their first bytes (a PNG at its sixth), so they cost one small read. The
// song hash, which the reader also computes, is not needed here.
#include "browser/hidden_search.h"

#include <cstring>
#include <string_view>

#include "library/chart_header.h"
#include "library/chart_names.h"
#include "library/chart_parse.h"
#include "platform/files.h"
#include "platform/progress.h"
#include "platform/win_path.h"

namespace qv5 {
namespace {

constexpr size_t kFirstReadBytes = 64 * 1024;
constexpr size_t kReadBytes = 1024 * 1024;

}  // namespace

bool NoteCountReader::Feed(std::string_view piece) {
    bool ended = false;
    if (const void* eof = std::memchr(piece.data(), '\x1A', piece.size())) {
        piece = piece.substr(0, static_cast<size_t>(static_cast<const char*>(eof) - piece.data()));
        ended = true;
    }
    // Whole lines only, exactly as the reader cuts them; the unfinished one
    // waits for the next piece.
    if (pending_.empty()) {
        const size_t used =
            ParseChartPieces(record_, state_, piece.data(), piece.data() + piece.size(), false);
        pending_.assign(piece.substr(used));
    } else {
        pending_.append(piece);
        const size_t used = ParseChartPieces(record_, state_, pending_.data(),
                                             pending_.data() + pending_.size(), false);
        pending_.erase(0, used);
    }
    if (until_first_ && state_.notes > 0) {
        decided_ = true;
        return false;
    }
    return !ended;
}

std::int32_t NoteCountReader::Finish() {
    if (!decided_)
        ParseChartPieces(record_, state_, pending_.data(), pending_.data() + pending_.size(), true);
    decided_ = true;
    return state_.notes;
}

std::int32_t HeaderNoteCount(const WinPath& path_path, bool until_first, Progress* progress) {
    const std::string& path = path_path.text();
    FileReader file;
    if (!file.Open(path)) return 0;
    NoteCountReader counter(until_first);
    std::string buffer;
    size_t want = kFirstReadBytes;
    for (;;) {
        if (progress && progress->StopRequested()) return -1;
        const auto read = file.Next(buffer, want);
        if (!read) return 0;  // the reader's record is then its initial one
        want = kReadBytes;
        if (read->empty() || !counter.Feed(*read)) break;
    }
    return counter.Finish();
}

HiddenSearchResult FindHiddenCharts(const WinPath& folder_path, Progress& progress) {
    const std::string& folder = folder_path.text();
    HiddenSearchResult result;
    const std::string dir = WinPath(folder).AsFolder().text();
    std::vector<DirEntry> entries;
    if (!ListFolder(dir, entries, ListDetail::NamesAndKinds)) return result;
    std::vector<const DirEntry*> candidates;
    for (const DirEntry& e : entries)
        if (!e.directory && !e.system && !IsChartName(e.name)) candidates.push_back(&e);
    const long total = static_cast<long>(candidates.size());
    for (long i = 0; i < total; ++i) {
        const std::string& name = candidates[static_cast<size_t>(i)]->name;
        progress.Update(i, total, dir + name);
        const std::int32_t notes = HeaderNoteCount(WinPath(dir).Join(name), true, &progress);
        if (notes > 0) result.names.push_back(name);
        if (notes < 0 || progress.StopRequested()) {
            result.stopped = true;
            return result;
        }
    }
    progress.Update(total, total, std::string());
    return result;
}

}  // namespace qv5
