// The SYSTEM page's controls.
#pragma once

namespace qv5::system_page_id {

enum : int {
    kOutput = 1001,
    kDriver = 1007,
    kBufferLength = 1002,
    kBufferNote = 1064,
    kDisableFmod = 1006,
    kHighColor = 1015,
    kVsync = 1016,
    kHpTimer = 1017,
    kDirectDraw = 1018,
    kSoftwareRendering = 1019,
    kMainDisplay = 1105,
    kSubDisplay1 = 1042,
    kSubDisplay2 = 1041,
};

}  // namespace qv5::system_page_id
