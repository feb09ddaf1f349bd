#include "config/tool_settings.h"

#include "config/config_file.h"

namespace qv5 {

namespace {

// The dialog's value of each key of the record, named once for both directions.
struct TextKey {
    std::string ToolSettings::*tool;
    std::string ConfigRecord::*record;
};
const TextKey kTextKeys[] = {
    {&ToolSettings::mp3enc_body, &ConfigRecord::mp3enc_body},
    {&ToolSettings::mp3enc_option_normal, &ConfigRecord::mp3enc_option_normal},
    {&ToolSettings::mp3enc_option_movie, &ConfigRecord::mp3enc_option_movie},
    {&ToolSettings::oggenc_body, &ConfigRecord::oggenc_body},
    {&ToolSettings::oggenc_option, &ConfigRecord::oggenc_option},
    {&ToolSettings::oggdec_body, &ConfigRecord::oggdec_body},
    {&ToolSettings::oggdec_option, &ConfigRecord::oggdec_option},
    {&ToolSettings::bmse_body, &ConfigRecord::bmse_body},
    {&ToolSettings::bmse_option, &ConfigRecord::bmse_option},
};
struct IntKey {
    std::int32_t ToolSettings::*tool;
    std::int32_t ConfigRecord::*record;
};
const IntKey kIntKeys[] = {
    {&ToolSettings::movie_audio, &ConfigRecord::movie_audio},
    {&ToolSettings::autowavtoogg, &ConfigRecord::autowavtoogg},
    {&ToolSettings::autobmptopng, &ConfigRecord::autobmptopng},
    {&ToolSettings::autofumensearch, &ConfigRecord::autofumensearch},
};
// Integer keys whose edits keep their text until the record is written.
struct NumberKey {
    std::string ToolSettings::*tool;
    std::int32_t ConfigRecord::*record;
};
const NumberKey kNumberTextKeys[] = {
    {&ToolSettings::mp3_volume, &ConfigRecord::mp3_volume},
    {&ToolSettings::movie_framerate, &ConfigRecord::movie_framerate},
};

}  // namespace

ToolSettings ToolSettingsFrom(const ConfigRecord& c) {
    ToolSettings t;
    for (const TextKey& k : kTextKeys) t.*k.tool = c.*k.record;
    for (const IntKey& k : kIntKeys) t.*k.tool = c.*k.record;
    for (const NumberKey& k : kNumberTextKeys) t.*k.tool = std::to_string(c.*k.record);
    return t;
}

void StoreToolSettings(const ToolSettings& t, ConfigRecord& c) {
    for (const TextKey& k : kTextKeys) c.*k.record = t.*k.tool;
    for (const IntKey& k : kIntKeys) c.*k.record = t.*k.tool;
    for (const NumberKey& k : kNumberTextKeys) c.*k.record = LeadingNumber((t.*k.tool).c_str());
}

void ClampToolSettings(ToolSettings& t) {
    std::int32_t quality = LeadingNumber(t.mp3_volume.c_str());
    if (quality > 100) quality = 100;
    if (quality < 0) quality = 0;
    t.mp3_volume = std::to_string(quality);
    std::int32_t rate = LeadingNumber(t.movie_framerate.c_str());
    if (rate > 60) rate = 60;
    if (rate <= 0) rate = 30;
    t.movie_framerate = std::to_string(rate);
}

}  // namespace qv5
