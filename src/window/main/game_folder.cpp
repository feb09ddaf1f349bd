#include "window/main/game_folder.h"

#include <QSettings>
#include <QStandardPaths>
#include <cstdio>

#include "browser/game_folder_setup.h"
#include "platform/paths.h"
#include "platform/text.h"
#include "platform/tr.h"
#include "platform/translation.h"
#include "platform/ui_service.h"

namespace qv5 {
namespace {

constexpr const char* kGameFolderKey = "gameFolder";

std::string NoGameFilesMessage(const std::string& host_dir) {
    return Arg(Tr("GameFolder", "%1 にはQV5filesフォルダがありません。"),
               {Utf8ToCp932Lossy(host_dir)});
}

// What a game folder is, and the offer to make one where the person looked.
bool AskToMakeGameFolder(QWidget* owner, const std::string& host_dir) {
    const std::string text =
        NoGameFilesMessage(host_dir) + "\n\n" +
        Tr("GameFolder",
           "ゲームフォルダは、ゲーム本体(QV5body.exe)とQV5filesフォルダ(設定、プレイヤー、"
           "曲ライブラリ)のあるフォルダです。\n\n"
           "このフォルダを新しいゲームフォルダにしますか?\n"
           "QV5filesとその中のフォルダ、曲を入れる空のsongsフォルダ(曲フォルダとして登録)を"
           "作ります。プレイヤーは最初の起動で作成します。ゲーム本体は含まれません。\n"
           "「いいえ」で別のフォルダを選びます。");
    return Ui().MessageBox(owner, text, kAppTitle, MsgButtons::YesNo, MsgIcon::Question) ==
           MsgAnswer::Yes;
}

// Makes the game folder the person agreed to and says what is left to do;
// false after saying why it could not be made.
bool MakeChosenGameFolder(QWidget* owner, const std::string& host_dir) {
    std::string error;
    if (!MakeGameFolder(host_dir, error)) {
        ShowMessage(owner, error, Tr("GameFolder", "エラー"), MsgIcon::Error);
        return false;
    }
    ShowMessage(owner,
                Arg(Tr("GameFolder",
                       "%1 にゲームフォルダを作成しました。\n"
                       "曲はsongsフォルダに入れて下さい。プレイするにはゲーム本体(QV5body.exe)を"
                       "QV5filesと同じフォルダに置いて下さい。"),
                    {Utf8ToCp932Lossy(host_dir)}),
                Tr("GameFolder", "報告"), MsgIcon::Information);
    return true;
}

}  // namespace

// An explicit file rather than QSettings' own scope: its location is fixed on
// first use, and XDG_CONFIG_HOME may change within one process (tests).
QString SettingsFile() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/qv5setup/QV5.conf");
}

bool HoldsGameFiles(const std::string& host_dir) {
    return IsHostDirectory(host_dir + "/QV5files");
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
    // No config.xml is read yet: the desktop's language decides.
    UseLanguage(DesktopLanguage());
    for (;;) {
        const std::optional<std::string> chosen = Ui().BrowseFolder(
            owner, Tr("GameFolder", "ゲームフォルダ(QV5filesのあるフォルダ)を選んで下さい"));
        if (!chosen) break;
        const std::optional<std::string> host = ToHostPath(*chosen);
        if (!host) break;
        if (!HoldsGameFiles(*host) &&
            (!AskToMakeGameFolder(owner, *host) || !MakeChosenGameFolder(owner, *host)))
            continue;
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
