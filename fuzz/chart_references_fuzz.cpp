// The ids a chart's channel line places, as the check collects them (sixteen
// characters at a time), against the rule read one pair at a time.
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
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

constexpr int kIds = 1296;

// "#WAVxx NNNN" for every id but 00, the name being the id in four decimal
// digits: made once, copied into each run's references.
struct Defined {
    std::array<std::string, kIds> lines;
    qv5::ChartReferences refs;
    Defined() {
        static const char kDigits[] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
        for (int id = 1; id < kIds; ++id) {
            char line[16];
            std::snprintf(line, sizeof line, "#WAV%c%c %04d", kDigits[id / 36], kDigits[id % 36],
                          id);
            lines[size_t(id)] = line;
            refs.Line(lines[size_t(id)], lines[size_t(id)]);
        }
    }
};

int IdOfName(std::string_view name) {
    int id = 0;
    for (char c : name) id = id * 10 + (c - '0');
    return id;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const Defined defined;
    qv5::ChartReferences refs = defined.refs;
    // A key lane or the background channel, by the first byte.
    const bool background = size > 0 && (data[0] & 1);
    std::string bytes(background ? "#00101:" : "#00111:");
    bytes.append(reinterpret_cast<const char*>(data), size);
    std::string_view raw = bytes;
    const std::string_view line = qv5::ChartLineText(raw, true);
    refs.Line(raw, line);

    std::array<bool, kIds> expected{}, used{};
    if (line.size() >= 9)
        for (size_t i = 0; i < (line.size() - 7) / 2; ++i)
            expected[size_t(Digit(raw[7 + 2 * i]) * 36 + Digit(raw[8 + 2 * i]))] = true;
    expected[0] = false;
    for (std::string_view name : refs.UsedNames()) used[size_t(IdOfName(name))] = true;
    if (used != expected) {
        std::fprintf(stderr, "placed ids differ for a line of %zu bytes\n", line.size());
        __builtin_trap();
    }
    return 0;
}
