#include "config/config_record.h"

namespace qv5 {

ConfigRecord& TheConfig() {
    static ConfigRecord config;
    return config;
}

}  // namespace qv5
