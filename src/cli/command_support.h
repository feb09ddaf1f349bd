// What the commands of both programs share: messages, paths named on the
// command line, the check of the output.
#pragma once

#include <optional>
#include <string>

#include "platform/paths.h"

namespace qv5 {

struct ConfigRecord;

// "QV5: message" on stderr; returns 1.
int CommandFailed(const std::string& message);
// "1 chart", "3 charts", "0 charts": a count and its noun for the summary
// lines (English). The number stays the line's field a script reads.
std::string Counted(long n, const char* singular);

// `code`, or a failure when the standard output could not be written.
int FinishCommand(int code);

// A path named on the command line (relative ones from `start_dir`) as the
// program names it: relative to the game folder when inside it, else
// absolute; the game folder itself stays absolute. `missing` begins the
// error when there is no such entry.
std::optional<std::string> CommandLinePath(const std::string& host, const std::string& start_dir,
                                           std::string& error,
                                           const char* missing = "no such file or folder");

// Paths in what the commands print for people, as this system names them:
// host paths, relative to the folder the command was started in when they
// lie below it (`start_dir`, set once before the command runs), UTF-8. A
// folder (an internal path ending in "\") keeps a trailing "/". A path of
// another drive than Z: stays as it is.
void SetShownFrom(const std::string& start_dir);
std::string ShownPath(const std::string& internal);

// config.xml for a command that only reads it: an unreadable file is said,
// and the defaults are used.
void LoadCommandConfig(ConfigRecord& config);

}  // namespace qv5
