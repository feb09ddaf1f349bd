// The external tool settings: the values of the tool settings dialog, which
// lives with the JUKEBOX1 page. Other parts of the program read the programs
// and options from here; ApplySettings copies them into the record.
#pragma once

#include <cstdint>
#include <string>

#include "config/config_record.h"

namespace qv5 {

struct ToolSettings {
    std::string mp3enc_body, mp3enc_option_normal, mp3enc_option_movie;
    std::int32_t movie_audio = 0;
    // The two integer edits keep their text until the record is written.
    std::string mp3_volume, movie_framerate;
    std::string oggenc_body, oggenc_option;
    std::string oggdec_body, oggdec_option;
    std::string bmse_body, bmse_option;
    std::int32_t autowavtoogg = 0, autobmptopng = 0, autofumensearch = 0;
};

ToolSettings ToolSettingsFrom(const ConfigRecord& config);
void StoreToolSettings(const ToolSettings& tools, ConfigRecord& config);
// The limits the JUKEBOX1 page applies after the dialog closes: quality
// 0..100, frame rate 1..60 with 0 or below becoming 30.
void ClampToolSettings(ToolSettings& tools);

}  // namespace qv5
