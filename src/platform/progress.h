// What a long operation (registration, rescan, install, conversion, download)
// reports to, and asks whether it should stop. Each operation is given its own
// Progress; nothing about progress is process-wide.
#pragma once

#include <atomic>
#include <chrono>
#include <string>

namespace qv5 {

class Progress {
  public:
    virtual ~Progress() = default;

    // `done` items so far out of `total` (-1 when unknown); `current` names the
    // item being worked on (CP932, usually an internal path). Cheap enough to
    // call once per item: displays throttle themselves.
    virtual void Update(long done, long total, const std::string& current) = 0;
    // A line about the state of the work rather than an item, for example that
    // it waits for the song library to be free. Empty clears it.
    virtual void SetStatus(const std::string& cp932_text) = 0;
    // What `done` counts (CP932, "charts"), for displays that name it.
    virtual void SetUnit(const std::string&) {}

    // Operations check this between items and, when it is set, undo what the
    // unfinished step began and return.
    bool StopRequested() const { return stop_.load(std::memory_order_relaxed); }
    void RequestStop() { stop_.store(true, std::memory_order_relaxed); }

  private:
    std::atomic<bool> stop_{false};
};

// For callers that show nothing (tests, nested steps).
class NullProgress final : public Progress {
  public:
    void Update(long, long, const std::string&) override {}
    void SetStatus(const std::string&) override {}
};

// One self-rewriting line on stderr when stderr is a terminal; silent
// otherwise. At most ten redraws a second.
class TerminalProgress final : public Progress {
  public:
    // `unit` names what is counted ("charts read").
    explicit TerminalProgress(std::string unit);
    ~TerminalProgress() override;
    TerminalProgress(const TerminalProgress&) = delete;
    TerminalProgress& operator=(const TerminalProgress&) = delete;

    void Update(long done, long total, const std::string& current) override;
    void SetStatus(const std::string& cp932_text) override;

  private:
    void Draw(bool force);

    std::string unit_;
    bool tty_;
    bool shown_ = false;
    long done_ = 0, total_ = -1;
    std::string current_, status_;
    std::chrono::steady_clock::time_point last_draw_{};
};

}  // namespace qv5
