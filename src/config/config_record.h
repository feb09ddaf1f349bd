// The one program-wide configuration record: one field per key of config.xml.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace qv5 {

inline constexpr int kMaxSongFolders = 1000;

struct ConfigRecord {
    // <system>
    std::int32_t screenmode = 0;
    std::int32_t vsync = 0;
    std::int32_t directdraw = 0;
    std::int32_t maindisplay = 0;
    std::int32_t highcolor = 0;
    std::int32_t autoreload = 2;
    std::int32_t customfolder = 0;
    std::int32_t mainsleep = 3;
    std::int32_t bmssleep = 3;
    std::int32_t screenexrate = 100;
    std::int32_t inputinterval = 16;
    std::int32_t disablesystemkey = 0;
    std::int32_t outputlog = 0;
    std::int32_t thread = 0;
    std::int32_t eventmode = 0;
    std::int32_t disableskinpreview = 0;
    std::string newsongfolder = "NEW SONG\\";
    std::int32_t titleflash = 24;
    std::int32_t hptimer = 0;
    std::int32_t disablebmsthread = 0;
    std::int32_t disablefolderthread = 0;
    std::int32_t language = 0;
    std::int32_t windowsize_x = 640;
    std::int32_t windowsize_y = 480;
    std::int32_t softwarerendering = 0;
    // <jukebox>
    std::array<std::string, kMaxSongFolders> path;  // registered root folders
    int path_count = 0;
    // <play>
    std::int32_t hs = 100;
    std::int32_t hstype = 0;
    std::int32_t hsmax = 900;
    std::int32_t hsmin = 10;
    std::int32_t hsmargin = 10;
    std::int32_t shutter = 0;
    std::int32_t shuttertype = 0;
    std::int32_t shuttermargin = 10;
    std::int32_t gauge = 0;
    std::int32_t random = 0;
    std::int32_t effect = 0;
    std::int32_t autoscratch = 0;
    std::int32_t autokey = 0;
    std::int32_t autojudgeadjust = 0;
    std::int32_t judgetime = 0;
    std::int32_t bga = 1;
    std::int32_t bgasize = 0;
    std::int32_t poorbga = 500;
    std::int32_t ghost = 0;
    std::int32_t scoregraph = 0;
    std::int32_t target = 0;
    std::int32_t defaulttarget = 90;
    std::int32_t replaysave = 0;
    std::int32_t basespeed = 100;
    std::int32_t gomiscore = 0;
    std::int32_t disableleftclickexit = 0;
    std::int32_t disablecurspeedchange = 0;
    // <sound>
    std::int32_t bufferlength = 384;
    std::int32_t numbuffers = 4;
    std::int32_t disabledsp = 1;
    std::int32_t output = 0;
    std::int32_t driver = 0;
    std::int32_t disablefmod = 0;
    std::int32_t volumeflag = 1;
    std::int32_t volumebgm = 100;
    std::int32_t volumekey = 100;
    std::int32_t volumemaster = 100;
    std::int32_t eqflag = 0;
    std::int32_t eqp0 = 0;
    std::int32_t eqp1 = 0;
    std::int32_t eqp2 = 0;
    std::int32_t eqp3 = 0;
    std::int32_t eqp4 = 0;
    std::int32_t eqp5 = 0;
    std::int32_t eqp6 = 0;
    std::int32_t pitchflag = 0;
    std::int32_t pitchtype = 0;
    std::int32_t pitchp = 0;
    std::int32_t fxflag_0 = 0;
    std::int32_t fxtype_0 = 0;
    std::int32_t fxtarget_0 = 0;
    std::int32_t fxp1_0 = 0;
    std::int32_t fxp2_0 = 0;
    std::int32_t fxflag_1 = 0;
    std::int32_t fxtype_1 = 0;
    std::int32_t fxtarget_1 = 0;
    std::int32_t fxp1_1 = 0;
    std::int32_t fxp2_1 = 0;
    std::int32_t fxflag_2 = 0;
    std::int32_t fxtype_2 = 0;
    std::int32_t fxtarget_2 = 0;
    std::int32_t fxp1_2 = 0;
    std::int32_t fxp2_2 = 0;
    // <player>
    std::string id = "";
    std::string pass = "";
    std::string name = "";
    std::string irid = "";
    std::string irpass = "";
    // <select>
    std::int32_t sort = 0;
    std::int32_t key = 1;
    std::int32_t difficulty = 0;
    std::int32_t searchmax = 1000;
    std::int32_t randomclose = 0;
    std::int32_t speedfirst = 300;
    std::int32_t speednext = 70;
    std::int32_t control = 0;
    std::int32_t buttonselect = 0;
    std::int32_t folderlamp = 0;
    std::int32_t difficultychangetype = 0;
    std::int32_t ignorekeyall = 0;
    std::int32_t ignorekeysingle = 0;
    std::int32_t ignorekeydouble = 0;
    std::int32_t ignoredp = 0;
    std::int32_t ignorepms = 0;
    std::int32_t ignoredifficultyall = 0;
    std::int32_t ignore5key = 0;
    std::int32_t levelbarflash_7 = 12;
    std::int32_t levelbarflash_5 = 9;
    std::int32_t levelbarflash_9 = 42;
    std::int32_t disabledifficultyfilter = 0;
    std::int32_t preview = 1;
    std::int32_t disablesubtitle = 0;
    // <skin>
    std::string play_7 = "";
    std::string play_5 = "";
    std::string play_14 = "";
    std::string play_10 = "";
    std::string play_9 = "";
    std::string select = "";
    std::string decide = "";
    std::string result = "";
    std::string keyconfig = "";
    std::string skinselect = "";
    std::string soundset = "";
    std::string theme = "";
    std::string play_7_b = "";
    std::string play_5_b = "";
    std::string play_9_b = "";
    std::string fontname = "Ariel";
    std::int32_t disableimagefont = 0;
    // <network>
    std::int32_t qv4ir = 0;
    std::string qv4id = "";
    std::string qv4pass = "";
    std::int32_t qv5ir = 0;
    std::string mail = "";
    std::int32_t autoupdate = 0;
    std::int32_t getrival = 0;
    // <course>
    std::int32_t optimumlevel_7 = 0;
    std::int32_t optimumlevel_5 = 0;
    std::int32_t optimumlevel_10 = 0;
    std::int32_t optimumlevel_14 = 0;
    std::int32_t optimumlevel_9 = 0;
    std::int32_t defaultconnection = 0;
    std::int32_t defaultgauge = 0;
    std::int32_t maxbpm = 0;
    std::int32_t minbpm = 0;
    std::int32_t bpmrange = 10;
    std::int32_t maxlevel = 0;
    std::int32_t minlevel = 0;
    std::int32_t stage = 5;
    // <tools>
    std::string bmse_body = "bmse.exe";
    std::string bmse_option = "";
    std::int32_t movie_audio = 0;
    std::int32_t movie_framerate = 30;
    std::int32_t mp3_volume = 50;
    std::string mp3enc_body = "lame.exe";
    std::string mp3enc_option_movie = "--preset cbr 192";
    std::string mp3enc_option_normal = "--preset fast extreme";
    std::string oggdec_body = "oggdec.exe";
    std::string oggdec_option = "";
    std::string oggenc_body = "oggenc2.exe";
    std::string oggenc_option = "-q 6";
    std::int32_t autowavtoogg = 0;
    std::int32_t autobmptopng = 0;
    std::int32_t autofumensearch = 0;
};

}  // namespace qv5
namespace qv5 {
// The one instance for the whole run.
ConfigRecord& TheConfig();
}  // namespace qv5
