#include "browser/root_registration.h"

#include <functional>

#include "config/config_file.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "platform/text.h"
#include "platform/tr.h"
#include "player/player_db.h"

namespace qv5 {

bool OpenLibraryForChanges(SongLibrary& library, const ConfigRecord& config, std::string& error,
                           Progress* progress) {
    if (!IsDirectory("QV5files\\Database")) {
        error = "no QV5files/Database folder in " + Cp932ToUtf8(ProgramDirectory());
        return false;
    }
    if (!library.Open(ExistingPlayerDb(config.id)) || !library.CanWrite(progress)) {
        error = "cannot write the song library " + std::string(kSongDbPath);
        if (!library.LastError().empty()) error += ": " + library.LastError();
        return false;
    }
    return true;
}

std::string RootConflict(const ConfigRecord& config, const std::string& path) {
    for (int i = 0; i < config.path_count; ++i) {
        const std::string& root = config.path[i];
        if (root == path)
            return Cp932ToUtf8(Tr("LibraryCommands", "このフォルダは既に登録されています。")) +
                   " " + Cp932ToUtf8(path);
        if (!root.empty() && WinPath(path).IsWithin(WinPath(root)))
            return Cp932ToUtf8(Tr("LibraryCommands", "親フォルダが既に登録されています。")) + " " +
                   Cp932ToUtf8(root);
    }
    if (config.path_count >= kMaxSongFolders) return "1000 song folders are registered already";
    return std::string();
}

bool IsCoveredByRoot(const ConfigRecord& config, const WinPath& path) {
    for (int i = 0; i < config.path_count; ++i) {
        const std::string& root = config.path[i];
        if (!root.empty() && (WinPath(root) == path || path.IsWithin(WinPath(root)))) return true;
    }
    return false;
}

bool RegisterRoot(SongLibrary& library, ConfigRecord& config, const std::string& path,
                  Progress* progress, LibraryReport& report, std::string& error) {
    bool saved = false;
    auto add_to_list = [&](const std::function<bool()>& commit, std::string& why) {
        bool committed = false;
        saved = UpdateConfig(
            config,
            [&](ConfigRecord& fresh, std::string& reason) {
                bool listed = false;  // added meanwhile by another run
                for (int i = 0; i < fresh.path_count; ++i) listed |= fresh.path[i] == path;
                if (!listed) reason = RootConflict(fresh, path);
                if (!reason.empty() || !(committed = commit())) return false;
                if (!listed) fresh.path[fresh.path_count++] = path;
                return true;
            },
            error);
        if (!committed) why = error;
        return committed;
    };
    if (!library.AddSongFolder(WinPath(path), progress, report, add_to_list)) {
        error = "the folder was not registered: " + report.error;
        return false;
    }
    if (!saved) {
        error = "the folder is registered, but not added to config.xml: " + error;
        return false;
    }
    return true;
}

}  // namespace qv5
