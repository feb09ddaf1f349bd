// Arbitrary bytes as config.xml: read into the record as LoadConfig reads the
// file, and written back.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "config/config_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // One record for every input: the reading sets every field it writes,
    // and a fresh one (a thousand song folder strings) would cost more than
    // the reading.
    static qv5::ConfigRecord c;
    // An unreadable file gives the defaults, whose writing is always the same.
    if (qv5::ParseConfig(c, std::string_view(reinterpret_cast<const char*>(data), size)) ==
        qv5::ConfigState::Read)
        qv5::FormatConfig(c);
    return 0;
}
