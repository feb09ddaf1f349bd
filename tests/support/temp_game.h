// A temporary game folder (QV5files/Config, QV5files/Database/Score) made the
// program directory for one test.
#pragma once

#include <string>
#include <vector>

namespace qv5::test {

class TempGame {
  public:
    TempGame();
    ~TempGame();
    TempGame(const TempGame&) = delete;
    TempGame& operator=(const TempGame&) = delete;

    const std::string& host() const { return host_; }  // host path of the folder
    std::string HostPath(const std::string& relative) const { return host_ + "/" + relative; }
    void WriteFile(const std::string& relative, const std::string& bytes) const;
    std::string ReadFile(const std::string& relative) const;  // empty when missing
    bool Exists(const std::string& relative) const;
    void MakeDir(const std::string& relative) const;
    // `levels` folders of 200-letter names, one in the other below `relative`,
    // made a level at a time so the chain can pass the host's path limit;
    // with `chart`, an empty file of that name in each of them.
    void MakeDeepFolder(const std::string& relative, int levels, const char* chart = nullptr) const;

  private:
    std::string host_;
    std::string old_cwd_;
};

// `roots` each followed by ";", for comparing root lists as one text.
std::string JoinedRoots(const std::vector<std::string>& roots);
// The song folders config.xml of the program directory names, joined so.
std::string ConfigRoots();

}  // namespace qv5::test
