// The name dialog's controls.
#pragma once

namespace qv5::name_dialog_id {

enum : int {
    kPrompt = 1076,
    kName = 1002,
};

}  // namespace qv5::name_dialog_id
