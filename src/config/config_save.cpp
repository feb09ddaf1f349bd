// Writing config.xml: the save, the kept copy of an unreadable file, and the
// locked read-change-save of the commands.
#include <tinyxml2.h>

#include <cerrno>
#include <cstring>
#include <ctime>
#include <string>

#include "config/config_file.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "platform/text.h"

namespace qv5 {
namespace {

std::string BackupName(int attempt) {
    const std::time_t now = std::time(nullptr);
    std::tm tm{};
    localtime_r(&now, &tm);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &tm);
    std::string name = std::string(kConfigPath) + ".unreadable-" + stamp;
    if (attempt > 0) name += "-" + std::to_string(attempt + 1);
    return name;
}

// An unreadable file is all the user has of their settings: before a save
// replaces it, it is kept under a name of its own. False when that failed.
bool KeepUnreadableFile() {
    tinyxml2::XMLDocument doc(true, tinyxml2::PRESERVE_WHITESPACE);
    if (ReadConfigDocument(doc) != ConfigState::Unreadable) return true;
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string name = BackupName(attempt);
        if (PathExists(name)) continue;
        return CopyFileNoOverwrite(kConfigPath, name, kPrivateFileMode);
    }
    return false;
}

int SaveConfigLocked(const ConfigRecord& config) {
    if (!KeepUnreadableFile()) return 0;
    // A link at config.xml is one the user made (the file kept elsewhere).
    // It holds the player's password as the game reads it, in clear text.
    return WriteFileAtomic(kConfigPath, FormatConfig(config), LinkAtPath::WriteThrough,
                           kPrivateFileMode)
               ? 1
               : 0;
}

// "/host/path/QV5files/Config/config.xml: No space left on device", from the
// errno the failed write left.
std::string SaveFailure(int err) {
    const auto host = ToHostPath(ProgramDirectory() + kConfigPath);
    return host.value_or(kConfigPath) + ": " +
           (err != 0 ? std::strerror(err) : "the file could not be written");
}

int SaveTelling(const ConfigRecord& config, std::string* error) {
    errno = 0;
    if (SaveConfigLocked(config)) return 1;
    if (error) *error = SaveFailure(errno);
    return 0;
}

}  // namespace

int SaveConfig(const ConfigRecord& config, std::string* error) {
    // A game folder made by hand may lack it; a failure shows in the save.
    CreateFolders(kConfigFolder);
    FolderLock lock(kConfigFolder);
    return SaveTelling(config, error);
}

int SaveConfigMerged(
    ConfigRecord& config,
    const std::function<void(const ConfigRecord* now, ConfigRecord& config)>& merge,
    std::string* error) {
    CreateFolders(kConfigFolder);
    FolderLock lock(kConfigFolder);
    ConfigRecord now;
    merge(LoadConfig(now) == ConfigState::Read ? &now : nullptr, config);
    return SaveTelling(config, error);
}

std::string UnreadableConfigMessage() {
    return std::string(kConfigPath) +
           " cannot be read: every setting starts from its default. The file is kept beside "
           "itself as config.xml.unreadable-DATE-TIME before the settings are saved.";
}

bool UpdateConfig(ConfigRecord& config,
                  const std::function<bool(ConfigRecord&, std::string&)>& change,
                  std::string& error) {
    CreateFolders(kConfigFolder);
    FolderLock lock(kConfigFolder);
    if (LoadConfig(config) == ConfigState::Unreadable) {
        error = std::string(kConfigPath) + " cannot be read; it was left as it is";
        return false;
    }
    if (!change(config, error)) return false;
    if (!SaveConfigLocked(config)) {
        error = std::string(kConfigPath) + " cannot be written";
        return false;
    }
    return true;
}

std::string DecodeCharacterReferences(std::string_view in) {
    std::string out;
    out.reserve(in.size());
    // Bytes are copied in runs, up to each reference that changes.
    size_t kept = 0;
    for (size_t i = 0; i < in.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(in[i]);
        if (IsLeadByte(c) && i + 1 < in.size()) {
            ++i;
            continue;
        }
        if (c != '&' || i + 2 >= in.size() || in[i + 1] != '#') continue;
        const bool hex = in[i + 2] == 'x' || in[i + 2] == 'X';
        size_t j = i + (hex ? 3 : 2);
        std::uint32_t code = 0;
        size_t digits = 0;
        for (; j < in.size(); ++j, ++digits) {
            const char d = in[j];
            int v;
            if (d >= '0' && d <= '9')
                v = d - '0';
            else if (hex && (d | 0x20) >= 'a' && (d | 0x20) <= 'f')
                v = (d | 0x20) - 'a' + 10;
            else
                break;
            // Past the last code point the value no longer matters.
            if (code <= 0x10FFFF) code = code * (hex ? 16 : 10) + std::uint32_t(v);
        }
        // Malformed, or plain ASCII (the markup characters among it): the
        // parser handles those as it always did.
        if (digits == 0 || j >= in.size() || in[j] != ';' || code < 0x80) continue;
        out.append(in.substr(kept, i - kept));
        std::string utf8;
        if (code <= 0x7FF) {
            utf8 += char(0xC0 | (code >> 6));
            utf8 += char(0x80 | (code & 0x3F));
        } else if (code <= 0xFFFF && (code < 0xD800 || code > 0xDFFF)) {
            utf8 += char(0xE0 | (code >> 12));
            utf8 += char(0x80 | ((code >> 6) & 0x3F));
            utf8 += char(0x80 | (code & 0x3F));
        } else if (code >= 0x10000 && code <= 0x10FFFF) {
            utf8 += char(0xF0 | (code >> 18));
            utf8 += char(0x80 | ((code >> 12) & 0x3F));
            utf8 += char(0x80 | ((code >> 6) & 0x3F));
            utf8 += char(0x80 | (code & 0x3F));
        }
        const auto cp932 = utf8.empty() ? std::nullopt : Utf8ToCp932(utf8);
        if (cp932) {
            out += *cp932;
        } else {
            out += "&amp;";
            out.append(in.substr(i + 1, j - i));
        }
        i = j;
        kept = j + 1;
    }
    out.append(in.substr(kept));
    return out;
}

}  // namespace qv5
