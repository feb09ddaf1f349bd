#include "platform/test_pause.h"

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <string>

namespace qv5 {

void PauseAt(const char* point) {
    static std::atomic<bool> paused{false};
    const char* setting = std::getenv("QV5_PAUSE");
    if (!setting || paused) return;
    const size_t length = std::strlen(point);
    if (std::strncmp(setting, point, length) != 0 || setting[length] != ':') return;
    if (paused.exchange(true)) return;
    const std::string until = setting + length + 1;
    const int here = ::open((until + ".here").c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
    if (here >= 0) ::close(here);
    while (::access(until.c_str(), F_OK) != 0) ::usleep(2000);
}

}  // namespace qv5
