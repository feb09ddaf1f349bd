#include "library/chart_names.h"

#include <string>

#include "platform/text.h"

namespace qv5 {

// The last four bytes as they are, ASCII letters folded: the library has
// always matched them so, whatever comes before.
bool IsChartName(std::string_view name) {
    if (name.size() <= 4) return false;
    const std::string ext = LowerAscii(name.substr(name.size() - 4));
    for (std::string_view chart : kChartExtensions)
        if (ext == chart) return true;
    return false;
}

bool IsChartNameExactCase(std::string_view name) {
    for (std::string_view chart : kChartExtensions)
        if (EndsWith(name, chart)) return true;
    return false;
}

bool IsCustomFolderName(std::string_view name) {
    constexpr std::string_view kTail = ".qv5folder";
    return name.size() > kTail.size() && EndsWith(name, kTail);
}

}  // namespace qv5
