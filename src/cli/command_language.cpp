#include "cli/command_language.h"

#include <cstdlib>
#include <cstring>
#include <iterator>

#include "config/config_file.h"
#include "config/config_record.h"
#include "platform/tr.h"

namespace qv5 {
namespace {

const CatalogueEntry kLibraryCommands[] = {
    {"LibraryCommands", "このフォルダは既に登録されています。",
     "This folder is already registered."},
    {"LibraryCommands", "親フォルダが既に登録されています。",
     "A parent folder is already registered."},
};

std::string LookUp(const char* context, const char* source, int) {
    for (const CatalogueEntry& e : kLibraryCommands)
        if (std::strcmp(e.context, context) == 0 && std::strcmp(e.japanese, source) == 0)
            return e.english;
    return {};
}

}  // namespace

int CommandLineLanguage() {
    if (const char* forced = std::getenv("QV5_LANG")) {
        if (std::strcmp(forced, "en") == 0) return 1;
        if (std::strcmp(forced, "ja") == 0) return 0;
    }
    ConfigRecord config;
    if (LoadConfig(config) != ConfigState::Read) return 0;
    return config.language == 1 ? 1 : 0;
}

const CatalogueEntry* LibraryCommandsEnglish(size_t& count) {
    count = std::size(kLibraryCommands);
    return kLibraryCommands;
}

void UseLibraryCommandsLanguage(int language) {
    SetCatalogue(language == 1 ? &LookUp : nullptr);
}

}  // namespace qv5
