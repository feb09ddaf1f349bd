// The table page: the HTML page a table is published as, whose head names
// the header JSON in <meta name="bmstable" content="...">.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace qv5 {

// The content of the page's first bmstable meta (UTF-8, white space at its
// ends removed), read with libxml2's HTML parser as a browser would read a
// page with errors; nullopt when the page has none (or an empty one).
std::optional<std::string> FindBmsTableMeta(std::string_view html);

}  // namespace qv5
