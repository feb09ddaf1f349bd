#include "window/game_folder.h"

#include <sys/stat.h>

#include <QLocale>
#include <QSettings>
#include <QStandardPaths>
#include <cstdio>

#include "window/language.h"
#include "platform/paths.h"
#include "platform/text.h"
#include "platform/ui_service.h"

namespace qv5 {
namespace {

constexpr const char* kGameFolderKey = "gameFolder";

// No config.xml is read yet: the desktop's language decides.
int StartLanguage() {
    return QLocale::system().language() == QLocale::Japanese ? 0 : 1;
}

std::string ChooserTitle(int language) {
    return Localized(language, u8"ゲームフォルダ(QV5filesのあるフォルダ)を選んで下さい",
                     "Choose the game folder (the folder that holds QV5files)");
}

std::string NoGameFilesMessage(int language, const std::string& host_dir) {
    const std::string path = Utf8ToCp932Lossy(host_dir);
    return language == 1 ? "The folder " + path + " holds no QV5files folder."
                         : path + Sj(u8" にはQV5filesフォルダがありません。");
}

}  // namespace

// An explicit file rather than QSettings' own scope: its location is fixed on
// first use, and XDG_CONFIG_HOME may change within one process (tests).
QString SettingsFile() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/qv5setup/QV5.conf");
}

bool HoldsGameFiles(const std::string& host_dir) {
    struct stat st {};
    return stat((host_dir + "/QV5files").c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::string RememberedGameFolder() {
    QSettings settings(SettingsFile(), QSettings::IniFormat);
    return settings.value(QLatin1String(kGameFolderKey)).toString().toStdString();
}

bool RememberGameFolder(const std::string& host_dir) {
    QSettings settings(SettingsFile(), QSettings::IniFormat);
    settings.setValue(QLatin1String(kGameFolderKey), QString::fromStdString(host_dir));
    settings.sync();
    return settings.status() == QSettings::NoError;
}

std::optional<std::string> CommandLineGameFolder(const std::string& dir, bool given) {
    if (given || HoldsGameFiles(dir)) return dir;
    const std::string remembered = RememberedGameFolder();
    if (!remembered.empty() && HoldsGameFiles(remembered)) return remembered;
    std::fprintf(stderr,
                 "QV5: no game folder: %s holds no QV5files%s%s. Give one with --dir GAMEDIR "
                 "(or choose it once in the window).\n",
                 dir.c_str(), remembered.empty() ? "" : ", nor does the remembered ",
                 remembered.c_str());
    return std::nullopt;
}

std::optional<std::string> WindowGameFolder(QWidget* owner, const std::string& dir, bool given) {
    if (HoldsGameFiles(dir)) return dir;
    if (!given) {
        const std::string remembered = RememberedGameFolder();
        if (!remembered.empty() && HoldsGameFiles(remembered)) return remembered;
    }
    const int language = StartLanguage();
    for (;;) {
        const std::optional<std::string> chosen = Ui().BrowseFolder(owner, ChooserTitle(language));
        if (!chosen) break;
        const std::optional<std::string> host = ToHostPath(*chosen);
        if (!host) break;
        if (!HoldsGameFiles(*host)) {
            ShowMessage(owner, NoGameFilesMessage(language, *host), kAppTitle, MsgIcon::Warning);
            continue;
        }
        if (!RememberGameFolder(*host))
            std::fprintf(stderr, "QV5: cannot remember the game folder in %s\n",
                         SettingsFile().toStdString().c_str());
        return host;
    }
    std::fprintf(stderr, "QV5: no game folder chosen (%s holds no QV5files); nothing to do.\n",
                 dir.c_str());
    return std::nullopt;
}

}  // namespace qv5
