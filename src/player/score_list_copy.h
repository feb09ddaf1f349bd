// The score list as the ranking service sends it, copied as it arrives: each
// line without its line break ("\n" or "\r\n"), the lines joined. A line that
// starts with "ERROR" or "PASS" is the service's signal: it ends the copy and
// is not copied. Each piece is looked at once and nothing but the undecided
// start of a line is kept, so time and memory do not depend on how long the
// lines are.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace qv5 {

class ScoreListCopy {
  public:
    enum class Signal { None, Error, Pass };
    // `write` takes the copied bytes in order; false stops the copy.
    explicit ScoreListCopy(std::function<bool(std::string_view)> write);

    // The next piece of the body. False once a signal was found or a write
    // failed; nothing after that is copied.
    bool Add(std::string_view piece);
    // The body ended: a last line without a line break counts too.
    bool Finish();

    Signal signal() const { return signal_; }
    bool write_failed() const { return write_failed_; }

  private:
    bool Take(std::string_view part);
    bool EndLine();
    bool Copy(std::string_view bytes);
    bool Emit(std::string_view data);

    std::function<bool(std::string_view)> write_;
    std::string head_;         // the start of the line while it may still be a signal
    bool undecided_ = true;    // the line may still turn out to be a signal
    bool cr_pending_ = false;  // a "\r" held back: a line break if "\n" follows
    Signal signal_ = Signal::None;
    bool write_failed_ = false;
};

}  // namespace qv5
