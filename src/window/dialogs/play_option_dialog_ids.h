// The play option dialog's controls.
#pragma once

namespace qv5::play_option_id {

enum : int {
    // GAUGE, in value order.
    kGaugeNormal = 1098,
    kGaugeHard = 1083,
    kGaugeDeath = 1084,
    kGaugeEasy = 1085,
    kGaugePerfectAttack = 1086,
    kGaugeGoodAttack = 1087,
    // RANDOM.
    kRandomNormal = 1088,
    kRandomMirror = 1089,
    kRandomRandom = 1090,
    kRandomSRandom = 1091,
    kRandomScatter = 1092,
    kRandomConverge = 1093,
    // SPEED.
    kSpeedNormal = 1094,
    kSpeedFixMax = 1095,
    kSpeedFixMin = 1096,
    kSpeedFixAverage = 1097,
    kSpeedConstant = 1099,
    kHs = 1002,
};

}  // namespace qv5::play_option_id
