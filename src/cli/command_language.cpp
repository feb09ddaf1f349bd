#include "cli/command_language.h"

#include <cstdlib>
#include <cstring>

#include "config/config_file.h"
#include "config/config_record.h"
#include "platform/tr.h"

namespace qv5 {
namespace {

std::string LookUp(const char* context, const char* source, int n) {
    for (size_t i = 0; i < kEnglishTableSize; ++i) {
        const CatalogueEntry& e = kEnglishTable[i];
        if (std::strcmp(e.context, context) == 0 && std::strcmp(e.japanese, source) == 0)
            return n == 1 || n < 0 ? e.english : e.english_plural;
    }
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

void UseQuickLanguage(int language) {
    SetCatalogue(language == 1 ? &LookUp : nullptr);
}

}  // namespace qv5
