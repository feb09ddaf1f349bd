#include "config/tool_settings.h"

#include "config/config_file.h"

namespace qv5 {

ToolSettings ToolSettingsFrom(const ConfigRecord& c) {
    ToolSettings t;
    t.mp3enc_body = c.mp3enc_body;
    t.mp3enc_option_normal = c.mp3enc_option_normal;
    t.mp3enc_option_movie = c.mp3enc_option_movie;
    t.movie_audio = c.movie_audio;
    t.mp3_volume = std::to_string(c.mp3_volume);
    t.movie_framerate = std::to_string(c.movie_framerate);
    t.oggenc_body = c.oggenc_body;
    t.oggenc_option = c.oggenc_option;
    t.oggdec_body = c.oggdec_body;
    t.oggdec_option = c.oggdec_option;
    t.bmse_body = c.bmse_body;
    t.bmse_option = c.bmse_option;
    t.autowavtoogg = c.autowavtoogg;
    t.autobmptopng = c.autobmptopng;
    t.autofumensearch = c.autofumensearch;
    return t;
}

void StoreToolSettings(const ToolSettings& t, ConfigRecord& c) {
    c.mp3enc_body = t.mp3enc_body;
    c.mp3enc_option_normal = t.mp3enc_option_normal;
    c.mp3enc_option_movie = t.mp3enc_option_movie;
    c.movie_audio = t.movie_audio;
    c.mp3_volume = LeadingNumber(t.mp3_volume.c_str());
    c.movie_framerate = LeadingNumber(t.movie_framerate.c_str());
    c.oggenc_body = t.oggenc_body;
    c.oggenc_option = t.oggenc_option;
    c.oggdec_body = t.oggdec_body;
    c.oggdec_option = t.oggdec_option;
    c.bmse_body = t.bmse_body;
    c.bmse_option = t.bmse_option;
    c.autowavtoogg = t.autowavtoogg;
    c.autobmptopng = t.autobmptopng;
    c.autofumensearch = t.autofumensearch;
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
