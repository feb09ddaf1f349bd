// The song information panel's static texts, one per line, in order.
#pragma once

namespace qv5::song_info_id {

enum : int {
    kFirstLine = 1077,
    kLastLine = 1082,
};

}  // namespace qv5::song_info_id
