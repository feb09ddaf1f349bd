// The main window's own controls and its Language menu.
#pragma once

namespace qv5::main_window_id {

enum : int {
    kTabs = 1000,
    kPlay = 1003,
    kPlayOptions = 1036,
    kMakeMovie = 1027,
    kExit = 1004,
    // Hidden and disabled; 1104's command does nothing.
    kHiddenButton = 1035,
    kNoOpButton = 1104,
    kMenuJapanese = 32777,
    kMenuEnglish = 32778,
};

}  // namespace qv5::main_window_id
