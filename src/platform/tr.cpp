#include "platform/tr.h"

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

std::string FillCount(std::string text, int n) {
    const std::string number = std::to_string(n);
    for (size_t at = text.find("%n"); at != std::string::npos; at = text.find("%n", at)) {
        text.replace(at, 2, number);
        at += number.size();
    }
    return text;
}

std::string Tr(const char* context, const char* japanese, const char*, int n) {
    std::string text;
    if (g_catalogue) text = g_catalogue(context, japanese, n);
    if (text.empty()) text = japanese;
    if (n >= 0) text = FillCount(std::move(text), n);
    return Utf8ToCp932Lossy(text);
}

}  // namespace qv5
