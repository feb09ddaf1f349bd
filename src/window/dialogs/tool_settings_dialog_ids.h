// The tool settings dialog's controls.
#pragma once

namespace qv5::tool_settings_id {

enum : int {
    kMp3Encoder = 1002,
    kChooseMp3Encoder = 1003,
    kMp3OptionAudio = 1008,
    kMp3OptionMovie = 1013,
    kMp3Quality = 1014,
    kFrameRate = 1028,
    kMovieAudioMp3 = 1041,
    kMovieAudioWav = 1042,
    kMovieAudioSeparateWav = 1043,
    kCompressor = 1035,
    kOggEncoder = 1011,
    kChooseOggEncoder = 1004,
    kOggEncoderOption = 1026,
    kOggDecoder = 1068,
    kChooseOggDecoder = 1036,
    kOggDecoderOption = 1102,
    kBmsEditor = 1009,
    kChooseBmsEditor = 1027,
    kBmsEditorOption = 1010,
    kAutoWavToOgg = 1006,
    kAutoBmpToPng = 1015,
    kAutoHiddenSearch = 1016,
};

}  // namespace qv5::tool_settings_id
