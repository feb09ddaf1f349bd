#include "player/score_list_copy.h"

#include <cstring>

namespace qv5 {
namespace {

enum class Kind { Data, Error, Pass, Undecided };

// What a line starting with `head` is. The comparison is case-sensitive.
Kind Classify(std::string_view head, bool whole_line) {
    if (head.starts_with("ERROR")) return Kind::Error;
    if (head.starts_with("PASS")) return Kind::Pass;
    if (!whole_line &&
        (std::string_view("ERROR").starts_with(head) || std::string_view("PASS").starts_with(head)))
        return Kind::Undecided;
    return Kind::Data;
}

}  // namespace

ScoreListCopy::ScoreListCopy(std::function<bool(std::string_view)> write)
    : write_(std::move(write)) {}

bool ScoreListCopy::Add(std::string_view piece) {
    if (signal_ != Signal::None || write_failed_) return false;
    size_t pos = 0;
    while (pos < piece.size()) {
        const void* nl = std::memchr(piece.data() + pos, '\n', piece.size() - pos);
        const size_t end = nl ? size_t(static_cast<const char*>(nl) - piece.data()) : piece.size();
        if (!Take(piece.substr(pos, end - pos))) return false;
        if (!nl) break;
        if (!EndLine()) return false;
        pos = end + 1;
    }
    return true;
}

bool ScoreListCopy::Finish() {
    if (signal_ != Signal::None || write_failed_) return false;
    if (undecided_ && !head_.empty()) {
        if (!EndLine()) return false;
    }
    // A "\r" at the very end is no line break: it stays.
    if (cr_pending_) {
        cr_pending_ = false;
        return Copy("\r");
    }
    return true;
}

// Part of the current line, up to a "\n" or the end of the piece.
bool ScoreListCopy::Take(std::string_view part) {
    if (part.empty()) return true;
    if (!undecided_) return Emit(part);
    head_.append(part);
    switch (Classify(head_, false)) {
        case Kind::Error:
            signal_ = Signal::Error;
            return false;
        case Kind::Pass:
            signal_ = Signal::Pass;
            return false;
        case Kind::Undecided:
            return true;
        case Kind::Data:
            break;
    }
    undecided_ = false;
    const std::string head = std::move(head_);
    head_.clear();
    return Emit(head);
}

bool ScoreListCopy::EndLine() {
    if (undecided_) {
        // A short line such as "ERR" or "PAS": plain data after all. It holds
        // no "\r", which would have decided it.
        const Kind kind = Classify(head_, true);
        if (kind == Kind::Error || kind == Kind::Pass) {
            signal_ = kind == Kind::Error ? Signal::Error : Signal::Pass;
            return false;
        }
        if (!Copy(head_)) return false;
    }
    cr_pending_ = false;  // the "\r" of a "\r\n" is part of the break
    undecided_ = true;
    head_.clear();
    return true;
}

// Line data: a "\r" that ends it is held until the next byte tells whether it
// belongs to a line break.
bool ScoreListCopy::Emit(std::string_view data) {
    if (data.empty()) return true;
    if (cr_pending_) {
        cr_pending_ = false;
        if (!Copy("\r")) return false;
    }
    if (data.back() == '\r') {
        cr_pending_ = true;
        data.remove_suffix(1);
    }
    return Copy(data);
}

bool ScoreListCopy::Copy(std::string_view bytes) {
    if (bytes.empty() || write_(bytes)) return true;
    write_failed_ = true;
    return false;
}

}  // namespace qv5
