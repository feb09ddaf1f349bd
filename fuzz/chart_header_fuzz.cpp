#include <cstddef>
#include <cstdint>
#include <string_view>

#include "library/chart_header.h"
#include "library/difficulty.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    qv5::ChartRecord r;
    qv5::ParseChartHeader(r, bytes);
    std::int32_t d = -1;
    qv5::FileNameDifficulty(bytes, d);
    std::string t, s;
    qv5::TitleDifficulty(bytes, "#TITLE", t, s, d);
    return 0;
}
