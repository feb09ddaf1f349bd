// The key table behind LoadConfig and SaveConfig.
#pragma once

#include <vector>

#include "config/config_record.h"

namespace qv5 {

struct ConfigKey {
    const char* section;
    const char* key;  // nullptr: the jukebox song folder list
    std::int32_t ConfigRecord::*int_field;
    std::string ConfigRecord::*text_field;
    std::int32_t int_default;
    const char* text_default;
};

const std::vector<ConfigKey>& ConfigKeys();
// The table's entry of a field of the record.
const ConfigKey& KeyOf(std::int32_t ConfigRecord::*field);
const ConfigKey& KeyOf(std::string ConfigRecord::*field);

}  // namespace qv5
