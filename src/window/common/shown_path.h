// Paths in the window's own messages, as the person's system names them:
// host paths, relative to the game folder when inside it ("songs/cat/"),
// else absolute. The tree's root items keep what the game sees.
#pragma once

#include <string>

#include "platform/paths.h"
#include "platform/text.h"

namespace qv5 {

// CP932, as the window's message texts are.
inline std::string ShownInWindow(const std::string& internal) {
    return Utf8ToCp932Lossy(HostPathShown(internal, ToHostPath(ProgramDirectory()).value_or("")));
}

}  // namespace qv5
