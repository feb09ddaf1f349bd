// A progress that asks to stop at its `stop_after`th report (never when -1),
// as a person pressing Stop would, and keeps the statuses it was told.
#pragma once

#include <string>
#include <vector>

#include "platform/progress.h"

namespace qv5::test {

class StopAfter final : public Progress {
  public:
    explicit StopAfter(long stop_after = -1) : stop_after_(stop_after) {}
    void Update(long, long, const std::string&) override {
        if (++updates_ == stop_after_) RequestStop();
    }
    void SetStatus(const std::string& text) override { statuses.push_back(text); }
    std::vector<std::string> statuses;

  private:
    long stop_after_;
    long updates_ = 0;
};

}  // namespace qv5::test
