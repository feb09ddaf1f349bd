// Arbitrary bytes as a table's header and as its data, read as add-table
// reads them; the entries kept are grouped by level and matched against a
// small library, and a table compared with itself must show no change.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "tables/table.h"
#include "tables/table_match.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const qv5::ChartHashes library = {
        {"0123456789abcdef0123456789abcdef", {"songs\\a\\a.bms"}},
        {"ffffffffffffffffffffffffffffffff", {"songs\\b\\b.bms", "songs\\c\\b.bms"}},
    };
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    qv5::LooksLikeJsonObject(bytes);
    qv5::TableHeader header;
    std::string error;
    if (qv5::ReadTableHeader(bytes, header, error) &&
        (header.name.empty() || header.data_url.empty()))
        std::abort();
    qv5::TableData table;
    if (!qv5::ReadTableData(bytes, table, error)) return 0;
    long held = 0, total = 0;
    for (const qv5::LevelGroup& g : qv5::GroupByLevel(header, table, library)) {
        if (g.level.empty() || g.entries.empty()) std::abort();
        held += g.held;
        total += long(g.entries.size());
    }
    if (total != long(table.entries.size()) || held > total) std::abort();
    const qv5::TableChanges same = qv5::CompareTables(table, table);
    if (!same.added.empty() || !same.removed.empty() || !same.moved.empty()) std::abort();
    return 0;
}
