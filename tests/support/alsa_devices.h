// A sound system with chosen devices for one test: ALSA reads a configuration
// of null devices written for it (ALSA_CONFIG_PATH).
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace qv5::test {

class ScopedAlsaDevices {
  public:
    // Playback devices with these descriptions, in order.
    explicit ScopedAlsaDevices(const std::vector<std::string>& names);
    ~ScopedAlsaDevices();
    ScopedAlsaDevices(const ScopedAlsaDevices&) = delete;
    ScopedAlsaDevices& operator=(const ScopedAlsaDevices&) = delete;

  private:
    std::string file_;
    std::optional<std::string> previous_;
};

}  // namespace qv5::test
