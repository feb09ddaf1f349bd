#include "browser/game_folder_setup.h"

#include <cerrno>
#include <cstring>
#include <optional>

#include "browser/root_list.h"
#include "config/config_file.h"
#include "library/song_library.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "platform/text.h"
#include "platform/tr.h"
#include "player/player_db.h"

namespace qv5 {
namespace {

constexpr const char* kSongsFolder = "songs";

// "<text>\n<the folder (CP932)>\n<the system's reason>".
std::string CannotMake(const std::string& folder, int err) {
    return Tr("GameFolder", "フォルダを作成できません。") + "\n" + folder + "\n" +
           Utf8ToCp932Lossy(std::strerror(err != 0 ? err : EIO));
}

}  // namespace

const char* const kGameFolders[3] = {kConfigFolder, kDatabaseFolder, kScoreFolder};

bool MakeGameFolders() {
    bool made = true;
    for (const char* folder : kGameFolders) made = CreateFolders(folder) && made;
    return made;
}

bool MakeGameFolder(const std::string& host_dir, std::string& error) {
    const std::optional<std::string> dir = FromHostPath(host_dir);
    if (!dir) {
        error = Arg(Tr("GameFolder", "%1 はShift-JISで表せない名前を含むため使えません。"),
                    {Utf8ToCp932Lossy(host_dir)});
        return false;
    }
    errno = 0;
    if (!IsDirectory(*dir) && !CreateFolder(*dir)) {
        error = CannotMake(Utf8ToCp932Lossy(host_dir), errno);
        return false;
    }
    if (!SetProgramDirectory(host_dir)) {
        error = CannotMake(Utf8ToCp932Lossy(host_dir), ENOENT);
        return false;
    }
    if (PathExists("QV5files")) {
        error = Arg(Tr("GameFolder", "%1 にはQV5filesがすでにあります。何も変更していません。"),
                    {Utf8ToCp932Lossy(host_dir)});
        return false;
    }
    errno = 0;
    for (const char* folder : kGameFolders) {
        if (!CreateFolders(folder)) {
            error = CannotMake(HostPathForMessage(folder), errno);
            return false;
        }
    }
    if (!IsDirectory(kSongsFolder) && !CreateFolder(kSongsFolder)) {
        error = CannotMake(HostPathForMessage(kSongsFolder), errno);
        return false;
    }
    ConfigRecord config;
    LoadConfig(config);  // the defaults: there is no file yet
    config.language = DesktopLanguage();
    config.path[0] = StoredRootPath(ProgramDirectory() + kSongsFolder, true);
    config.path_count = 1;
    SongLibrary library;
    LibraryReport report;
    const bool registered = library.Open(ExistingPlayerDb(config.id))
                                ? library.AddSongFolder(WinPath(config.path[0]), nullptr, report)
                                : ReportError(report, library.LastError());
    if (!registered) {
        error = Tr("GameFolder", "曲フォルダを登録できません。") + "\n" + report.error;
        return false;
    }
    std::string why;
    if (!SaveConfig(config, &why)) {
        error = Tr("GameFolder", "設定を保存できません。") + "\n" + Utf8ToCp932Lossy(why);
        return false;
    }
    return true;
}

}  // namespace qv5
