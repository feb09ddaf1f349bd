// The game body's command lines: to play, to play or autoplay one chart, and
// to have it render a chart's audio or a movie into a file. The window and
// the command line start the same lines.
#pragma once

#include <string>
#include <string_view>

#include "platform/win_path.h"

namespace qv5 {

inline constexpr const char* kGameBody = "QV5body.exe";

// The command line of each start (CP932), "QV5body.exe" included.
std::string PlayCommandLine();
std::string PlayChartCommandLine(const WinPath& chart_path);
std::string AutoplayCommandLine(const WinPath& chart_path);
// `option` is "-audio", "-auto2avi", "-bga2avi" or "-replay2avi".
std::string ExportCommandLine(const char* option, const WinPath& chart_path,
                              const std::string& output);
std::string MovieCommandLine(const std::string& output);

// A path the game body's command line can carry: the Windows command line
// has no way to pass a double quote inside a quoted path (the split would
// drop it and name another file).
bool CommandLineCarries(std::string_view path);
// The refusal to start the game body with such a path, naming it.
std::string UncarriablePathMessage(const std::string& path);

// The name chosen in an export's save dialog with `dot_ext` (".wav") appended
// unless its last four characters are exactly that: ".WAV" gets ".wav" too.
std::string WithExportExtension(std::string path, std::string_view dot_ext);

}  // namespace qv5
