// Arbitrary bytes as a table's page: the bmstable meta found by libxml2's
// HTML parser, never an empty one.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "tables/table_page.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto meta =
        qv5::FindBmsTableMeta(std::string_view(reinterpret_cast<const char*>(data), size));
    if (meta && meta->empty()) std::abort();
    return 0;
}
