// The JUKEBOX1 page's controls and its menu (resource 135).
#pragma once

namespace qv5::jukebox_page_id {

enum : int {
    kSongFoldersLabel = 1047,
    kAddRoot = 1035,
    kFullRescan = 1103,
    kToolSettings = 1027,
    kTreeHint = 1048,
    kDropHint = 1049,
    // Present but not shown.
    kInstallFolder = 1002,
    kChooseInstallFolder = 1003,
    kOpenInstallFolder = 1004,
    kRemovedUnregister = 1036,
    kRemovedOpenFolder = 1006,
    kMenu = 135,
    kMenuAddRoot = 32776,
    kMenuRemoved1 = 32773,
    kMenuRemoved2 = 32774,
};

}  // namespace qv5::jukebox_page_id
