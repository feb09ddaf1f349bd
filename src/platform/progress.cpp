#include "platform/progress.h"

#include <unistd.h>

#include <cstdio>

#include "platform/text.h"

namespace qv5 {

TerminalProgress::TerminalProgress(std::string unit)
    : unit_(std::move(unit)), tty_(isatty(2) == 1) {}

TerminalProgress::~TerminalProgress() {
    if (shown_) std::fprintf(stderr, "\r\033[K");
}

void TerminalProgress::Update(long done, long total, const std::string& current) {
    done_ = done;
    total_ = total;
    current_ = current;
    Draw(false);
}

void TerminalProgress::SetStatus(const std::string& cp932_text) {
    status_ = cp932_text;
    Draw(true);
}

void TerminalProgress::Draw(bool force) {
    if (!tty_) return;
    auto now = std::chrono::steady_clock::now();
    if (!force && shown_ && now - last_draw_ < std::chrono::milliseconds(100)) return;
    last_draw_ = now;
    std::string shown = Cp932ToUtf8(status_.empty() ? current_ : status_);
    if (shown.size() > 60) {
        size_t from = shown.size() - 57;
        while (from < shown.size() && (static_cast<unsigned char>(shown[from]) & 0xC0) == 0x80) ++from;
        shown = "..." + shown.substr(from);
    }
    std::string count = std::to_string(done_);
    if (total_ >= 0) count += "/" + std::to_string(total_);
    std::fprintf(stderr, "\r\033[K%s %s  %s", count.c_str(), unit_.c_str(), shown.c_str());
    shown_ = true;
}

}  // namespace qv5
