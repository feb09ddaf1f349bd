// Reading a chart file: whole when it is small, in bounded pieces when it
// is large, with the song hash taken from the same bytes.
#include <cstring>
#include <optional>
#include <vector>

#include "library/chart_header.h"
#include "library/chart_parse.h"
#include "library/difficulty.h"
#include "library/file_hash.h"
#include "platform/files.h"
#include "platform/win_path.h"

namespace qv5 {
namespace {

// "directory holds a *.txt file": asked once per directory while it is unchanged.
bool HasTextFile(const std::string& directory) {
    thread_local std::string cached_dir;
    thread_local std::optional<std::int64_t> cached_stamp;
    thread_local bool cached = false;
    const auto stamp = ChangeStamp(directory);
    if (stamp && directory == cached_dir && stamp == cached_stamp) return cached;
    std::vector<DirEntry> entries;
    bool found = false;
    // Names are enough: a link is still looked up, so a dangling one counts
    // for nothing either way.
    if (ListFolder(directory, entries, ListDetail::NamesAndKinds))
        for (const DirEntry& e : entries)
            if (IsTextFileName(e.name)) {
                found = true;
                break;
            }
    cached_dir = directory;
    cached_stamp = stamp;
    cached = found;
    return found;
}

bool IsPmsPath(const std::string& path) {
    return path.size() >= 4 && path.compare(path.size() - 4, 4, ".pms") == 0;
}

// The header pass over a file read piece by piece: the same pieces, in the
// same order, as over the whole file, holding at most one piece back.
class HeaderStream {
  public:
    explicit HeaderStream(ChartRecord& r) : r_(r) {}
    void Feed(std::string_view bytes) {
        if (ended_) return;
        if (const void* eof = std::memchr(bytes.data(), '\x1A', bytes.size())) {
            bytes = bytes.substr(0, size_t(static_cast<const char*>(eof) - bytes.data()));
            ended_ = true;
        }
        if (pending_.empty()) {  // the usual case: parse in place, keep the tail
            const size_t used =
                ParseChartPieces(r_, st_, bytes.data(), bytes.data() + bytes.size(), false);
            pending_.assign(bytes.substr(used));
            return;
        }
        pending_.append(bytes);
        const size_t used =
            ParseChartPieces(r_, st_, pending_.data(), pending_.data() + pending_.size(), false);
        pending_.erase(0, used);
    }
    void Finish() {
        ParseChartPieces(r_, st_, pending_.data(), pending_.data() + pending_.size(), true);
        r_.note_count = st_.notes;
    }

  private:
    ChartRecord& r_;
    ChartParseState st_;
    std::string pending_;
    bool ended_ = false;
};

constexpr size_t kReadPieceBytes = 1 << 20;

bool ReadLargeChart(ChartRecord& r, const std::string& path, const std::atomic<bool>* cancel) {
    FileReader file;
    if (!file.Open(path)) return false;
    std::string buffer;
    Md5Stream md5;
    HeaderStream header(r);
    std::int64_t total = 0;
    for (;;) {
        const auto piece = file.Next(buffer, kReadPieceBytes);
        total += piece ? std::int64_t(piece->size()) : 0;
        if (!piece || total > kLargestChartBytes ||
            (cancel && cancel->load(std::memory_order_relaxed))) {
            r = ChartRecord{};  // as an unreadable file: initial values
            return false;
        }
        if (piece->empty()) break;
        md5.Update(*piece);
        header.Feed(*piece);
    }
    header.Finish();
    r.hash = md5.Finish();
    return true;
}

}  // namespace

void AddFolderFacts(ChartRecord& r, const std::string& path) {
    r.directory = ParentPath(path);
    r.parent_directory = ParentPath(r.directory);
    r.txt = r.directory != "ERROR" && HasTextFile(r.directory) ? 1 : 0;
}

namespace {

// Header pass, song hash and file-name rules from one read of the file.
// `hasher` (may be null) hashes large charts while the header is parsed.
bool ReadFileFacts(ChartRecord& r, const std::string& path, FileBuffer& buffer,
                   BackgroundMd5* hasher, const std::atomic<bool>* cancel) {
    if (!buffer.Read(path, kWholeReadBytes)) {
        r = ChartRecord{};
        if (!buffer.too_large()) return false;
        if (IsPmsPath(path)) r.mode = 9;
        if (!ReadLargeChart(r, path, cancel)) return false;
        if (r.difficulty == -1) FileNameDifficulty(path, r.difficulty);
        return true;
    }
    const std::string_view bytes = buffer.view();
    const bool parallel = hasher && bytes.size() >= 32 * 1024;
    if (parallel) hasher->Start(bytes);
    ParseChartFile(r, path, bytes);
    r.hash = parallel ? hasher->Wait() : Md5Hex(bytes);
    return true;
}

}  // namespace

void ParseChartFile(ChartRecord& r, const std::string& path, std::string_view bytes) {
    r = ChartRecord{};
    if (IsPmsPath(path)) r.mode = 9;
    ParseChartHeader(r, bytes);
    if (r.difficulty == -1) FileNameDifficulty(path, r.difficulty);
}

bool IsTextFileName(std::string_view n) {
    return n.size() >= 4 && n[n.size() - 4] == '.' && (n[n.size() - 3] | 0x20) == 't' &&
           (n[n.size() - 2] | 0x20) == 'x' && (n[n.size() - 1] | 0x20) == 't';
}

bool ReadChartFile(ChartRecord& r, const std::string& path, FileBuffer& buffer,
                   const std::atomic<bool>* cancel) {
    return ReadFileFacts(r, path, buffer, nullptr, cancel);
}

bool ReadChartHeader(ChartRecord& r, const std::string& path) {
    thread_local FileBuffer buffer;
    // Large charts are hashed on a helper thread while the header is parsed:
    // one helper for each thread that reads headers, as a hasher runs one
    // job at a time.
    thread_local BackgroundMd5 hasher;
    if (!ReadFileFacts(r, path, buffer, &hasher, nullptr)) return false;
    AddFolderFacts(r, path);
    return true;
}

}  // namespace qv5
