// The SELECT page's controls.
#pragma once

namespace qv5::select_page_id {

enum : int {
    kDisableDifficultyFilter = 1006,
    kPreview = 1015,
    kDisableSubtitle = 1016,
    kFilterNote = 1062,
    kIgnoreKeyAll = 1017,
    kIgnoreKeySingle = 1018,
    kIgnoreKeyDouble = 1019,
    kIgnoreDp = 1020,
    kIgnorePms = 1021,
    kIgnoreDifficultyAll = 1029,
    kDifficultyChangeType = 1030,
    kIgnore5Key = 1033,
    kLevelBarLabel = 1063,
    kLevelBar5 = 1002,
    kLevelBar7 = 1008,
    kLevelBar9 = 1009,
};

}  // namespace qv5::select_page_id
