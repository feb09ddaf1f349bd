// Prints the findings of the library check, one a line (the kind's word, a
// tab, the finding's text in the language of config.xml or QV5_LANG), or as
// JSON for scripts. Reads song.db without writing to it.
#include "cli/command_check.h"

#include <cstdio>
#include <cstdlib>

#include "cli/command_parse.h"
#include "cli/command_support.h"
#include "cli/commands.h"
#include "cli/stop_on_interrupt.h"
#include "config/config_file.h"
#include "config/config_record.h"
#include "library/check_text.h"
#include "library/library_check.h"
#include "library/song_library.h"
#include "platform/database.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "platform/progress.h"
#include "platform/text.h"
#include "platform/ui_service.h"

namespace qv5 {
namespace {

int Fail(const std::string& message) {
    std::fprintf(stderr, "QV5: check: %s\n", message.c_str());
    return 2;
}

std::string Json(std::string_view utf8) {
    std::string out = "\"";
    for (const char ch : utf8) {
        const unsigned char c = static_cast<unsigned char>(ch);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += ch;
        } else if (c < 0x20) {
            char esc[8];
            std::snprintf(esc, sizeof esc, "\\u%04x", c);
            out += esc;
        } else {
            out += ch;
        }
    }
    return out + "\"";
}

std::string JsonPath(const std::string& internal) {
    return Json(Cp932ToUtf8(internal));
}

std::string FindingJson(const CheckFinding& f) {
    std::string out = "{\"kind\":" + Json(CheckKindWord(KindOf(f.reason))) +
                      ",\"reason\":" + Json(CheckReasonWord(f.reason)) +
                      ",\"path\":" + JsonPath(f.path);
    if (!f.host_path.empty()) out += ",\"host_path\":" + Json(f.host_path);
    switch (f.reason) {
        case CheckReason::SameHash:
            out += ",\"hash\":" + Json(f.detail) + ",\"files\":[";
            for (size_t i = 0; i < f.files.size(); ++i)
                out += (i ? "," : "") + std::string("{\"path\":") + JsonPath(f.files[i].path) +
                       ",\"size\":" + std::to_string(f.files[i].size) + "}";
            out += "]";
            break;
        case CheckReason::MissingFiles:
            out += ",\"count\":" + std::to_string(f.count) + ",\"names\":[";
            for (size_t i = 0; i < f.names.size(); ++i)
                out += (i ? "," : "") + JsonPath(f.names[i]);
            out += "]";
            break;
        case CheckReason::NoShiftJisForm:
            out += ",\"character\":" + Json(f.detail);
            break;
        default:
            break;
    }
    return out + "}";
}

void PrintJson(const CheckResult& result) {
    std::printf("{\"charts\":%ld,\"folders\":%ld,\"stopped\":%s,\"counts\":{", result.charts,
                result.folders, result.stopped ? "true" : "false");
    for (int k = 0; k < kCheckKinds; ++k)
        std::printf("%s%s:%ld", k ? "," : "", Json(CheckKindWord(CheckKind(k))).c_str(),
                    result.Count(CheckKind(k)));
    std::printf("},\"findings\":[");
    for (size_t i = 0; i < result.findings.size(); ++i)
        std::printf("%s\n%s", i ? "," : "", FindingJson(result.findings[i]).c_str());
    std::printf("]}\n");
}

}  // namespace

int RunCheckCommand(const CommandCall& call, const ConfigRecord& config, ConfigState state) {
    CheckOptions options;
    const bool json = call.Has("--json");
    bool some = false;
    bool wanted[kCheckKinds] = {};
    for (const std::string& word : call.args) {
        int k = 0;
        while (k < kCheckKinds && word != CheckKindWord(CheckKind(k))) ++k;
        if (k == kCheckKinds) {
            std::vector<std::string> kinds;
            for (int i = 0; i < kCheckKinds; ++i) kinds.push_back(CheckKindWord(CheckKind(i)));
            const auto near = Suggestion(word, kinds);
            return UsageError(*call.command,
                              "unknown kind " + word +
                                  (near ? " (did you mean " + *near + "?)"
                                        : " (duplicates, missing, unreadable, names, "
                                          "out-of-date)"));
        }
        wanted[k] = some = true;
    }
    if (some) std::copy(wanted, wanted + kCheckKinds, options.kinds);
    if (state == ConfigState::Unreadable) return Fail(UnreadableConfigMessage());
    options.roots.assign(config.path.begin(), config.path.begin() + config.path_count);
    if (!PathExists(kSongDbPath))
        return Fail("no song library (QV5files/Database/song.db) in " +
                    ShownPath(ProgramDirectory()));
    SongLibrary library;
    if (!library.OpenForReading())
        return Fail("cannot read the song library QV5files/Database/song.db");
    CheckResult result;
    {
        TerminalProgress progress("charts read");
        StopOnInterrupt stop(progress);
        result = CheckLibrary(library, options, &progress);
    }
    if (!result.error.empty()) return Fail("cannot read the song library: " + result.error);
    if (json) {
        PrintJson(result);
    } else {
        for (const CheckFinding& f : result.findings)
            std::printf("%s\t%s\n", CheckKindWord(KindOf(f.reason)),
                        EscapeControls(FindingText(f, &ShownPath)).c_str());
    }
    std::fprintf(stderr, "check: %s in %s, %s%s\n", Counted(result.charts, "chart").c_str(),
                 Counted(result.folders, "folder").c_str(),
                 Counted(long(result.findings.size()), "finding").c_str(),
                 result.stopped ? " (stopped: what was found so far)" : "");
    if (result.stopped) return 2;
    return result.findings.empty() ? 0 : 1;
}

int RunCheck(const CommandCall& call) {
    ConfigRecord config;
    const ConfigState state = LoadConfig(config);
    return RunCheckCommand(call, config, state);
}

}  // namespace qv5
