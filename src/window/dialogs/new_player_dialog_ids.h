// The new player dialog's controls.
#pragma once

namespace qv5::new_player_id {

enum : int {
    kId = 1002,
    kPassword = 1008,
    kLinkIr = 1006,
    kIrId = 1011,
};

}  // namespace qv5::new_player_id
