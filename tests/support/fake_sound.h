// The host's sound devices replaced by a fixed list for one test.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/sound_devices.h"

namespace qv5::test {

class ScopedSoundDevices {
  public:
    explicit ScopedSoundDevices(std::vector<std::string> names);
    ~ScopedSoundDevices();
    // The output types the devices were asked for, in order.
    const std::vector<int>& asked() const;

  private:
    class Fixed;
    Fixed* fixed_;
    std::unique_ptr<SoundDevices> previous_;
};

}  // namespace qv5::test
