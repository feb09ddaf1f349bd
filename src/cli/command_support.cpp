#include "cli/command_support.h"

#include <cstdio>

#include "config/config_file.h"
#include "platform/paths.h"
#include "platform/text.h"

namespace qv5 {

int CommandFailed(const std::string& message) {
    std::fprintf(stderr, "QV5: %s\n", message.c_str());
    return 1;
}

std::string Counted(long n, const char* singular) {
    std::string noun = singular;
    if (n != 1 && noun.ends_with('y'))
        noun.replace(noun.size() - 1, 1, "ies");  // entry, entries
    else if (n != 1)
        noun += 's';
    return std::to_string(n) + " " + noun;
}

int FinishCommand(int code) {
    // A summary that never arrived is a failure too (a full disk, a closed pipe).
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
        CommandFailed("cannot write the output");
        return code == 0 ? 1 : code;
    }
    return code;
}

std::optional<std::string> CommandLinePath(const std::string& host, const std::string& start_dir,
                                           std::string& error, const char* missing) {
    const std::string full = FromStartDir(host, start_dir);
    const auto resolved = RealHostPath(full);
    if (!resolved) {
        error = std::string(missing) + ": " + host;
        return std::nullopt;
    }
    auto internal = FromHostPath(*resolved);
    if (!internal) {
        error = "the path cannot be represented in Shift-JIS: " + host;
        return std::nullopt;
    }
    const std::string& dir = ProgramDirectory();
    if (internal->size() > dir.size() && internal->compare(0, dir.size(), dir) == 0)
        internal->erase(0, dir.size());
    return internal;
}

namespace {
std::string g_shown_from;
}  // namespace

void SetShownFrom(const std::string& start_dir) {
    g_shown_from = start_dir;
}

std::string ShownPath(const std::string& internal) {
    return HostPathShown(internal, g_shown_from);
}

void LoadCommandConfig(ConfigRecord& config) {
    if (LoadConfig(config) == ConfigState::Unreadable) CommandFailed(UnreadableConfigMessage());
}

}  // namespace qv5
