// What a file is by its name: the one rule for charts and custom folders,
// used wherever a name decides (the scanner, the check, the folder tree,
// drops, installs, hidden-chart search).
#pragma once

#include <array>
#include <string_view>

namespace qv5 {

// The chart extensions in lower case, in the order an archive's charts are
// looked for.
inline constexpr std::array<std::string_view, 4> kChartExtensions = {".bms", ".bme", ".bml",
                                                                     ".pms"};

// A chart: ".bms", ".bme", ".bml" or ".pms" at the end in any case, after at
// least one character (".bms" alone is no chart). `name` may be a whole
// path; only its end is looked at.
bool IsChartName(std::string_view name);
// The same with the extension's case as written: the folder tree's double
// click opens a chart named ".BMS" in the text editor, as it always has.
bool IsChartNameExactCase(std::string_view name);

// A custom folder file: ".qv5folder" at the end exactly as written (the game
// body matches it so), after at least one character.
bool IsCustomFolderName(std::string_view name);

}  // namespace qv5
