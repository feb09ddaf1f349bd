#include "config/config_keys.h"

#include <cstdlib>

namespace qv5 {

// Every key in the order SaveConfig writes it, section by section.
const std::vector<ConfigKey>& ConfigKeys() {
#define QV5_KEY_INT(section, key, value) \
    {#section, #key, &ConfigRecord::key, nullptr, value, nullptr},
#define QV5_KEY_TEXT(section, key, value) {#section, #key, nullptr, &ConfigRecord::key, 0, value},
#define QV5_KEY_FOLDERS(section) {#section, nullptr, nullptr, nullptr, 0, nullptr},
    static const std::vector<ConfigKey> keys = {
        QV5_CONFIG_KEYS(QV5_KEY_INT, QV5_KEY_TEXT, QV5_KEY_FOLDERS)};
#undef QV5_KEY_INT
#undef QV5_KEY_TEXT
#undef QV5_KEY_FOLDERS
    return keys;
}

const ConfigKey& KeyOf(std::int32_t ConfigRecord::*field) {
    for (const ConfigKey& k : ConfigKeys())
        if (k.int_field == field) return k;
    std::abort();  // every field of the record is in the table
}

const ConfigKey& KeyOf(std::string ConfigRecord::*field) {
    for (const ConfigKey& k : ConfigKeys())
        if (k.text_field == field) return k;
    std::abort();
}

}  // namespace qv5
