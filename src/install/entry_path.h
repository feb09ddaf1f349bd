// Entry names and destinations of an extraction.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace qv5 {

// The parts of a CP932 name split at "/" and "\" (character by character:
// a trail byte is never a separator), "." parts and empty parts dropped.
// nullopt when the name could lead outside the folder it is extracted into:
// an absolute name, a drive ("C:\x", "Z:x"), a ".." part, a ":" anywhere.
std::optional<std::vector<std::string>> SafeEntryParts(const std::string& cp932_name);

// The archive and the destination of the archivers' extraction command
// `-x "ARCHIVE" "DEST/" *.*`, both internal paths ("/" of the destination
// turned into "\", no trailing separator). nullopt when it is not that form.
struct ExtractCommand {
    std::string archive;
    std::string destination;
};
std::optional<ExtractCommand> ParseExtractCommand(const std::string& command_line);

}  // namespace qv5
