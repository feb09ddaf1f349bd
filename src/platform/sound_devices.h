// The host's sound output devices, for the SYSTEM page's driver list.
#pragma once

#include <string>
#include <vector>

namespace qv5 {

// The playback devices offered for a sound output type, in the host's order
// (ALSA's device hints); names are CP932. Empty when there is no sound system.
std::vector<std::string> SoundOutputDevices(int output_type);

}  // namespace qv5
