// The host's sound output devices, for the SYSTEM page's driver list.
#pragma once

#include <memory>
#include <string>
#include <vector>

namespace qv5 {

class SoundDevices {
  public:
    virtual ~SoundDevices() = default;
    // The playback devices offered for a sound output type, in the host's
    // order; names are CP932. Empty when there is no sound system.
    virtual std::vector<std::string> OutputDevices(int output_type) = 0;
};

// The devices of the host (ALSA's device hints).
std::unique_ptr<SoundDevices> MakeHostSoundDevices();

SoundDevices& TheSoundDevices();
// Installs the list used by TheSoundDevices(); the previous one is returned.
std::unique_ptr<SoundDevices> SetSoundDevices(std::unique_ptr<SoundDevices> devices);

}  // namespace qv5
