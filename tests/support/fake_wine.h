// A fake `wine` first on PATH: a shell script that records its working
// directory and arguments, optionally runs a shell snippet (to play a game
// body that changes files or waits), then exits. Windows programs run in the
// locale C.UTF-8 meanwhile (every system has it), so that no test meets the
// notice about a missing Japanese locale unless it asks for it.
#pragma once

#include <string>
#include <vector>

#include "support/scoped_env.h"

namespace qv5::test {

struct WineRun {
    std::string cwd;                // host path
    std::vector<std::string> argv;  // UTF-8, without "wine" itself
};

class FakeWine {
  public:
    FakeWine();
    ~FakeWine();
    FakeWine(const FakeWine&) = delete;
    FakeWine& operator=(const FakeWine&) = delete;

    // A shell snippet run before the script exits (in its working directory).
    void SetAction(const std::string& sh);
    // Every recorded start, oldest first.
    std::vector<WineRun> Runs() const;
    // Hides the fake (and any real wine) from PATH.
    void Remove();
    const std::string& bin() const { return bin_; }
    // The script's path, where it writes, and the folder it lives in.
    std::string script() const { return bin_ + "/wine"; }
    std::string log() const { return dir_ + "/wine.log"; }

  private:
    std::string dir_, bin_, old_path_, old_wine_;
    bool had_wine_env_ = false;
    ScopedEnv locale_{"QV5_WINE_LOCALE", "C.UTF-8"};
};

}  // namespace qv5::test
