// The converters on Linux: the tool settings default to Windows programs
// (oggenc2.exe, oggdec.exe). When such an untouched default is found neither
// in the game folder nor on PATH, the native program of the same job on PATH
// (oggenc, oggdec) runs instead, with the same options.
#pragma once

#include <functional>
#include <string>

#include "config/tool_settings.h"

namespace qv5 {

// `tools` with the encoder and decoder resolved as above. `say` (may be
// empty) is told, once per run and program, which native program is used
// (CP932, in the language in use).
ToolSettings WithNativeConverters(const ToolSettings& tools,
                                  const std::function<void(const std::string&)>& say);

// For a program that cannot be run: when it is the untouched default, what
// was looked for and how to install it (CP932); empty for a program the user
// chose (the caller then says it is not set).
std::string MissingDefaultConverterMessage(const std::string& program);

}  // namespace qv5
