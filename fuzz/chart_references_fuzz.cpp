// The ids a chart's channel line places, as the check collects them (sixteen
// characters at a time), against the rule read one pair at a time.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <set>
#include <string>
#include <string_view>

#include "library/chart_parse.h"
#include "library/chart_references.h"

namespace {

int Digit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'Z') return c - 'A' + 10;
    if (c >= 'a' && c <= 'z') return c - 'a' + 10;
    return 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::string kDigits = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    qv5::ChartReferences refs;
    std::string definitions[1296];
    for (int id = 1; id < 1296; ++id) {
        definitions[id] = std::string("#WAV") + kDigits[size_t(id / 36)] +
                          kDigits[size_t(id % 36)] + " " + std::to_string(id);
        refs.Line(definitions[id], definitions[id]);
    }
    // A key lane or the background channel, by the first byte.
    const bool background = size > 0 && (data[0] & 1);
    std::string_view raw_line = background ? "#00101:" : "#00111:";
    std::string bytes(raw_line);
    bytes.append(reinterpret_cast<const char*>(data), size);
    std::string_view raw = bytes;
    const std::string_view line = qv5::ChartLineText(raw, true);
    refs.Line(raw, line);

    std::set<int> expected, used;
    if (line.size() >= 9)
        for (size_t i = 0; i < (line.size() - 7) / 2; ++i)
            if (const int id = Digit(raw[7 + 2 * i]) * 36 + Digit(raw[8 + 2 * i]))
                expected.insert(id);
    for (std::string_view name : refs.UsedNames()) used.insert(std::stoi(std::string(name)));
    if (used != expected) {
        std::fprintf(stderr, "placed ids differ for a line of %zu bytes\n", line.size());
        __builtin_trap();
    }
    return 0;
}
