#include "support/alsa_devices.h"

#include <unistd.h>

#include <cstdlib>
#include <fstream>

namespace qv5::test {

ScopedAlsaDevices::ScopedAlsaDevices(const std::vector<std::string>& names) {
    if (const char* old = std::getenv("ALSA_CONFIG_PATH")) previous_ = old;
    char name[] = "/tmp/qv5-alsa-XXXXXX";
    const int fd = mkstemp(name);
    if (fd >= 0) close(fd);
    file_ = name;
    std::ofstream out(file_);
    for (size_t i = 0; i < names.size(); ++i)
        out << "pcm.qv5test" << i << " { type null; hint { show on; description \"" << names[i]
            << "\" } }\n";
    out.close();
    setenv("ALSA_CONFIG_PATH", file_.c_str(), 1);
}

ScopedAlsaDevices::~ScopedAlsaDevices() {
    if (previous_)
        setenv("ALSA_CONFIG_PATH", previous_->c_str(), 1);
    else
        unsetenv("ALSA_CONFIG_PATH");
    unlink(file_.c_str());
}

}  // namespace qv5::test
