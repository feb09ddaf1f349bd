#include "platform/tr.h"

#include <cstdlib>
#include <string_view>

#include "platform/text.h"

namespace qv5 {
namespace {
Catalogue g_catalogue = nullptr;
}

void SetCatalogue(Catalogue catalogue) {
    g_catalogue = catalogue;
}

Catalogue CurrentCatalogue() {
    return g_catalogue;
}

int LanguageInUse() {
    return g_catalogue ? 1 : 0;
}

int DesktopLanguage() {
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(name);
        if (!value || !*value) continue;
        const std::string_view locale = value;
        const bool japanese = locale.starts_with("ja") && (locale.size() == 2 || locale[2] == '_' ||
                                                           locale[2] == '.' || locale[2] == '@');
        return japanese ? 0 : 1;
    }
    return 1;
}

std::string FillCount(std::string text, int n) {
    const std::string number = std::to_string(n);
    for (size_t at = text.find("%n"); at != std::string::npos; at = text.find("%n", at)) {
        text.replace(at, 2, number);
        at += number.size();
    }
    return text;
}

std::string Arg(const std::string& text, std::initializer_list<std::string> args) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        const size_t index = i + 1 < text.size() ? static_cast<size_t>(text[i + 1] - '1') : 9;
        if (text[i] == '%' && index < args.size()) {
            out += *(args.begin() + index);
            ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

std::string Tr(const char* context, const char* japanese, const char*, int n) {
    std::string text;
    if (g_catalogue) text = g_catalogue(context, japanese, n);
    if (text.empty()) text = japanese;
    if (n >= 0) text = FillCount(std::move(text), n);
    return Utf8ToCp932Lossy(text);
}

}  // namespace qv5
