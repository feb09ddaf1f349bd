#include "config/config_record.h"

namespace qv5 {

ConfigRecord& TheConfig() {
    static ConfigRecord config;
    return config;
}

std::vector<std::string> SongFolders(const ConfigRecord& config) {
    return {config.path.begin(), config.path.begin() + config.path_count};
}

void SetSongFolders(ConfigRecord& config, const std::vector<std::string>& roots) {
    config.path_count = 0;
    for (const std::string& root : roots) {
        if (config.path_count >= kMaxSongFolders) break;
        config.path[config.path_count++] = root;
    }
}

}  // namespace qv5
