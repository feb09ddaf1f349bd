// Notices about starting programs, each said once per run.
#include <cstdio>
#include <mutex>
#include <set>

#include "platform/process.h"
#include "platform/text.h"

namespace qv5 {
namespace {

// Programs may be started from several threads at once.
struct Notices {
    std::mutex mutex;
    NoticeHook hook;
    std::set<std::string> said;
};

Notices& TheNotices() {
    static Notices notices;
    return notices;
}

}  // namespace

NoticeHook SetNoticeHook(NoticeHook hook) {
    Notices& n = TheNotices();
    std::lock_guard lock(n.mutex);
    std::swap(n.hook, hook);
    n.said.clear();
    return hook;
}

void SayNotice(const std::string& text) {
    if (text.empty()) return;
    Notices& n = TheNotices();
    NoticeHook hook;
    {
        std::lock_guard lock(n.mutex);
        if (!n.said.insert(text).second) return;
        hook = n.hook;
    }
    if (hook)
        hook(text);
    else
        std::fprintf(stderr, "QV5: %s\n", Cp932ToUtf8(text).c_str());
}

}  // namespace qv5
