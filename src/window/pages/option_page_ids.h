// The OPTION page's controls.
#pragma once

namespace qv5::option_page_id {

enum : int {
    kHsMin = 1002,
    kHsMax = 1008,
    kHsMargin = 1009,
    kBaseSpeed = 1028,
    kBaseSpeedLabel = 1055,
    kShutterMargin = 1010,
    kShutterMarginLabel = 1056,
    kInputInterval = 1011,
    kInputIntervalLabel = 1057,
    kListSpeedLabel = 1058,
    kSpeedFirst = 1013,
    kSpeedFirstLabel = 1059,
    kSpeedNext = 1014,
    kSpeedNextLabel = 1060,
    kPoorBga = 1068,
    kPoorBgaLabel = 1069,
    kFontName = 1026,
    kFontNameLabel = 1061,
    kChooseFont = 1003,
    kControl = 1017,
    kButtonSelect = 1006,
    kOutputLog = 1015,
    kThread = 1016,
    kFolderLamp = 1018,
    kDisableSystemKey = 1019,
    kDisableImageFont = 1020,
    kDisableSkinPreview = 1021,
    kDisableBmsThread = 1030,
    kDisableFolderThread = 1029,
    kGomiScore = 1033,
    kDisableCurSpeedChange = 1038,
    kDisableLeftClickExit = 1039,
};

}  // namespace qv5::option_page_id
