// The MAIN page's controls.
#pragma once

namespace qv5::main_page_id {

enum : int {
    kPlayers = 1001,
    kPass = 1002,
    kIdNote = 1046,
    kNewPlayer = 1003,
    kDeletePlayer = 1004,
    kResetDatabase = 1027,
    kWindowMode = 1006,
    kWindowSizeLabel = 1044,
    kWidth = 1026,
    kHeight = 1013,
    kScreenRate = 1008,
    kReloadLabel = 1045,
    kReloadManual = 1041,
    kReloadOpened = 1042,
    kReloadAtStart = 1043,
    kQv5Ir = 1018,
    kRival = 1017,
    kAutoUpdate = 1019,
    kQv4Ir = 1016,
    kQv4Id = 1009,
    kQv4Pass = 1010,
    kMail = 1011,
    kTopPage = 1035,
    kMyPage = 1036,
    kLanguageLabel = 1067,
};

}  // namespace qv5::main_page_id
