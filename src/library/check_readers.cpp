#include "library/check_readers.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "library/chart_parse.h"
#include "library/file_hash.h"
#include "library/library_check.h"
#include "library/md5_batch.h"
#include "platform/files.h"
#include "platform/text.h"
#include "platform/win_path.h"

namespace qv5 {
namespace {

// Charts one task reads before it hashes them side by side (unless the
// caller hurries it), and the bytes a worker holds at most before it hashes
// what it has read: as the scanner's readers.
constexpr size_t kBatch = 8;
constexpr size_t kBatchBytes = 16 << 20;
constexpr size_t kKeptBufferBytes = 1 << 20;
// Batches waiting for a reader at most: more than the check keeps ahead,
// so its own read-ahead is what holds it back.
constexpr size_t kQueuedBatches = 64;

// The header pass and the reference collection over the same pieces.
class ChartLines {
  public:
    ChartLines(ChartRecord& record, ChartReferences* refs) : record_(record), refs_(refs) {}
    void operator()(std::string_view raw) {
        const std::string_view line = ParseChartLine(record_, st_, raw);
        if (refs_) refs_->Line(raw, line);
    }
    ChartParseState& state() { return st_; }

  private:
    ChartRecord& record_;
    ChartReferences* refs_;
    ChartParseState st_;
};

// Ctrl-Z ends the text (the hash still takes every byte).
std::string_view TextPart(std::string_view bytes, bool& ended) {
    if (const void* eof = std::memchr(bytes.data(), '\x1A', bytes.size())) {
        ended = true;
        return bytes.substr(0, size_t(static_cast<const char*>(eof) - bytes.data()));
    }
    return bytes;
}

void ParseWhole(std::string_view bytes, ChartRecord& r, ChartReferences* refs) {
    ChartLines lines(r, refs);
    bool ended = false;
    const std::string_view text = TextPart(bytes, ended);
    lines.state().may_hold_nul = std::memchr(text.data(), '\0', text.size()) != nullptr;
    ForEachChartPiece(text.data(), text.data() + text.size(), true, lines);
    r.note_count = lines.state().notes;
}

// A chart too large to hold, read piece by piece with the same result.
bool ReadLarge(const std::string& path, ChartRecord& r, ChartReferences* refs,
               CheckReadResult& out, const std::atomic<bool>* cancel) {
    FileReader file;
    if (!file.Open(path)) return false;
    if (refs) refs->CopyNames();  // the pieces' buffer is reused
    ChartLines lines(r, refs);
    std::string buffer, pending;
    Md5Stream md5;
    bool ended = false;
    for (;;) {
        const auto piece = file.Next(buffer, 1 << 20);
        if (!piece || (cancel && cancel->load(std::memory_order_relaxed))) return false;
        if (piece->empty()) break;
        md5.Update(*piece);
        out.size += std::int64_t(piece->size());
        if (out.size > kLargestChartBytes) {
            out.too_large = true;
            return false;
        }
        if (ended) continue;
        pending.append(TextPart(*piece, ended));
        pending.erase(
            0, ForEachChartPiece(pending.data(), pending.data() + pending.size(), false, lines));
    }
    ForEachChartPiece(pending.data(), pending.data() + pending.size(), true, lines);
    r.note_count = lines.state().notes;
    out.hash = md5.Finish();
    return true;
}

// A name used twice (in either case) is one missing file.
void LookUp(const ChartReferences& refs, const CheckFolder& folder, CheckReadResult& out) {
    std::vector<std::string> missing;  // case folded
    for (std::string_view name : refs.UsedNames()) {
        if (ReferencePresent(folder.dir, folder.names, name)) continue;
        std::string lower = FoldNameCase(name);
        if (std::find(missing.begin(), missing.end(), lower) != missing.end()) continue;
        missing.push_back(std::move(lower));
        if (out.missing_names.size() < kMissingNamesKept) out.missing_names.emplace_back(name);
        ++out.missing;
    }
}

}  // namespace

CheckReadResult ReadChartForCheck(const std::string& path, const CheckFolder& folder) {
    CheckReadResult out;
    ChartRecord r;
    ChartReferences refs;
    FileBuffer buffer;
    if (buffer.Read(path, kWholeReadBytes)) {
        ParseWhole(buffer.view(), r, &refs);
        out.hash = Md5Hex(buffer.view());
        out.size = std::int64_t(buffer.view().size());
        out.opened = true;
    } else {
        out.opened = buffer.too_large() && ReadLarge(path, r, &refs, out, nullptr);
    }
    if (!out.opened) return out;
    out.notes = r.note_count;
    LookUp(refs, folder, out);
    return out;
}

struct CheckReadScratch {
    std::vector<FileBuffer> buffers = std::vector<FileBuffer>(kBatch);
    std::vector<ChartReferences> refs;
    Md5Batch md5;
};

namespace {

std::vector<CheckReadResult> ReadBatch(const std::vector<CheckReadJob>& batch, bool references,
                                       CheckReadScratch& scratch, const std::atomic<bool>& cancel) {
    std::vector<FileBuffer>& buffers = scratch.buffers;
    std::vector<ChartReferences>& refs = scratch.refs;
    Md5Batch& md5 = scratch.md5;
    std::vector<CheckReadResult> results(batch.size());
    refs.assign(batch.size(), ChartReferences{});
    size_t held = 0;
    for (size_t i = 0; i < batch.size(); ++i) {
        CheckReadResult& out = results[i];
        out.index = batch[i].index;
        ChartReferences* chart_refs = references ? &refs[i] : nullptr;
        ChartRecord r;
        if (buffers[i].Read(batch[i].path, kWholeReadBytes)) {
            const std::string_view bytes = buffers[i].view();
            ParseWhole(bytes, r, chart_refs);
            md5.Add(bytes, &out.hash);
            out.size = std::int64_t(bytes.size());
            out.opened = true;
            held += bytes.size();
            if (held > kBatchBytes) {
                md5.Run();
                held = 0;
            }
        } else {
            out.opened =
                buffers[i].too_large() && ReadLarge(batch[i].path, r, chart_refs, out, &cancel);
        }
        out.notes = r.note_count;
    }
    md5.Run();
    // The names are views into the buffers: look them up before a large
    // buffer is given back.
    if (references)
        for (size_t i = 0; i < batch.size(); ++i)
            if (results[i].opened) LookUp(refs[i], *batch[i].folder, results[i]);
    refs.clear();
    for (FileBuffer& b : buffers)
        if (b.view().size() > kKeptBufferBytes) b.Release();
    return results;
}

}  // namespace

CheckReaders::CheckReaders(unsigned workers, bool references)
    : references_(references),
      pool_(workers < 1 ? 1 : workers, kQueuedBatches, ResultOrder::Finished) {
    for (unsigned i = 0; i < pool_.threads(); ++i)
        scratch_.push_back(std::make_unique<CheckReadScratch>());
    gathering_.reserve(kBatch);
}

// The pool's stop: batches not started are dropped, a large chart being
// read gives up between its pieces; the workers are joined.
CheckReaders::~CheckReaders() = default;

void CheckReaders::Send() {
    if (gathering_.empty()) return;
    Batch batch = std::exchange(gathering_, {});
    gathering_.reserve(kBatch);
    pool_.Submit(
        [this, batch = std::move(batch)](unsigned worker, const std::atomic<bool>& cancel) {
            return ReadBatch(batch, references_, *scratch_[worker], cancel);
        });
}

void CheckReaders::Submit(CheckReadJob job) {
    gathering_.push_back(std::move(job));
    ++in_flight_;
    if (gathering_.size() >= kBatch) Send();
}

void CheckReaders::Take(std::vector<CheckReadResult>& out, std::chrono::milliseconds wait) {
    auto results = pool_.Take({});
    if (!results && wait.count() > 0) {
        // The caller waits: a worker with nothing to do takes what there is,
        // however little; while every worker is busy the batch still fills.
        if (pool_.in_flight() < pool_.threads()) Send();
        results = pool_.Take(wait);
    }
    for (; results; results = pool_.Take({})) {
        in_flight_ -= results->size();
        for (CheckReadResult& r : *results) out.push_back(std::move(r));
    }
}

}  // namespace qv5
