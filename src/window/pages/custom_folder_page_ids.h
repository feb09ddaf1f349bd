// The JUKEBOX2 page's controls.
#pragma once

namespace qv5::custom_folder_page_id {

enum : int {
    kFoldersLabel = 1050,
    // One box per bit of customfolder, bit 0 first.
    kRandomSelect = 1006,
    kFavorite = 1015,
    kPlaycountTop10 = 1016,
    kLevel = 1017,
    kClear = 1018,
    kPlayrank = 1019,
    kIgnore = 1029,
    kCourse = 1020,
    kRandomClose = 1021,
    kSearchMax = 1002,
    kSearchMaxLabel = 1051,
    kSearchMaxNote = 1052,
    kTitleFlash = 1008,
    kTitleFlashLabel = 1053,
    kTitleFlashUnit = 1054,
};

}  // namespace qv5::custom_folder_page_id
