// Feeds arbitrary bytes to the config.xml reader in a scratch folder.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "config/config_file.h"
#include "platform/paths.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::string dir = [] {
        std::string d = (std::filesystem::temp_directory_path() / "qv5_config_fuzz").string();
        std::filesystem::create_directories(d + "/QV5files/Config");
        qv5::SetProgramDirectory(d);
        return d;
    }();
    std::ofstream(dir + "/QV5files/Config/config.xml", std::ios::binary)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    qv5::ConfigRecord c;
    qv5::LoadConfig(c);
    qv5::FormatConfig(c);
    return 0;
}
