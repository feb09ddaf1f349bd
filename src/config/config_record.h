// The one program-wide configuration record: one field per key of config.xml.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace qv5 {

inline constexpr int kMaxSongFolders = 1000;

// Every key of config.xml, section by section in the order SaveConfig writes
// them: its section, its name (which is also the record's field) and its
// default. The record and the key table (ConfigKeys) are both made from this
// list, so a key and its default are written here and nowhere else.
// FOLDERS stands for the jukebox section's list of song folders.
#define QV5_CONFIG_KEYS(INT, TEXT, FOLDERS)                    \
    INT(system, screenmode, 0)                                 \
    INT(system, vsync, 0)                                      \
    INT(system, directdraw, 0)                                 \
    INT(system, maindisplay, 0)                                \
    INT(system, highcolor, 0)                                  \
    INT(system, autoreload, 2)                                 \
    INT(system, customfolder, 0)                               \
    INT(system, mainsleep, 3)                                  \
    INT(system, bmssleep, 3)                                   \
    INT(system, screenexrate, 100)                             \
    INT(system, inputinterval, 16)                             \
    INT(system, disablesystemkey, 0)                           \
    INT(system, outputlog, 0)                                  \
    INT(system, thread, 0)                                     \
    INT(system, eventmode, 0)                                  \
    INT(system, disableskinpreview, 0)                         \
    TEXT(system, newsongfolder, "NEW SONG\\")                  \
    INT(system, titleflash, 24)                                \
    INT(system, hptimer, 0)                                    \
    INT(system, disablebmsthread, 0)                           \
    INT(system, disablefolderthread, 0)                        \
    INT(system, language, 0)                                   \
    INT(system, windowsize_x, 640)                             \
    INT(system, windowsize_y, 480)                             \
    INT(system, softwarerendering, 0)                          \
    FOLDERS(jukebox)                                           \
    INT(play, hs, 100)                                         \
    INT(play, hstype, 0)                                       \
    INT(play, hsmax, 900)                                      \
    INT(play, hsmin, 10)                                       \
    INT(play, hsmargin, 10)                                    \
    INT(play, shutter, 0)                                      \
    INT(play, shuttertype, 0)                                  \
    INT(play, shuttermargin, 10)                               \
    INT(play, gauge, 0)                                        \
    INT(play, random, 0)                                       \
    INT(play, effect, 0)                                       \
    INT(play, autoscratch, 0)                                  \
    INT(play, autokey, 0)                                      \
    INT(play, autojudgeadjust, 0)                              \
    INT(play, judgetime, 0)                                    \
    INT(play, bga, 1)                                          \
    INT(play, bgasize, 0)                                      \
    INT(play, poorbga, 500)                                    \
    INT(play, ghost, 0)                                        \
    INT(play, scoregraph, 0)                                   \
    INT(play, target, 0)                                       \
    INT(play, defaulttarget, 90)                               \
    INT(play, replaysave, 0)                                   \
    INT(play, basespeed, 100)                                  \
    INT(play, gomiscore, 0)                                    \
    INT(play, disableleftclickexit, 0)                         \
    INT(play, disablecurspeedchange, 0)                        \
    INT(sound, bufferlength, 384)                              \
    INT(sound, numbuffers, 4)                                  \
    INT(sound, disabledsp, 1)                                  \
    INT(sound, output, 0)                                      \
    INT(sound, driver, 0)                                      \
    INT(sound, disablefmod, 0)                                 \
    INT(sound, volumeflag, 1)                                  \
    INT(sound, volumebgm, 100)                                 \
    INT(sound, volumekey, 100)                                 \
    INT(sound, volumemaster, 100)                              \
    INT(sound, eqflag, 0)                                      \
    INT(sound, eqp0, 0)                                        \
    INT(sound, eqp1, 0)                                        \
    INT(sound, eqp2, 0)                                        \
    INT(sound, eqp3, 0)                                        \
    INT(sound, eqp4, 0)                                        \
    INT(sound, eqp5, 0)                                        \
    INT(sound, eqp6, 0)                                        \
    INT(sound, pitchflag, 0)                                   \
    INT(sound, pitchtype, 0)                                   \
    INT(sound, pitchp, 0)                                      \
    INT(sound, fxflag_0, 0)                                    \
    INT(sound, fxtype_0, 0)                                    \
    INT(sound, fxtarget_0, 0)                                  \
    INT(sound, fxp1_0, 0)                                      \
    INT(sound, fxp2_0, 0)                                      \
    INT(sound, fxflag_1, 0)                                    \
    INT(sound, fxtype_1, 0)                                    \
    INT(sound, fxtarget_1, 0)                                  \
    INT(sound, fxp1_1, 0)                                      \
    INT(sound, fxp2_1, 0)                                      \
    INT(sound, fxflag_2, 0)                                    \
    INT(sound, fxtype_2, 0)                                    \
    INT(sound, fxtarget_2, 0)                                  \
    INT(sound, fxp1_2, 0)                                      \
    INT(sound, fxp2_2, 0)                                      \
    TEXT(player, id, "")                                       \
    TEXT(player, pass, "")                                     \
    TEXT(player, name, "")                                     \
    TEXT(player, irid, "")                                     \
    TEXT(player, irpass, "")                                   \
    INT(select, sort, 0)                                       \
    INT(select, key, 1)                                        \
    INT(select, difficulty, 0)                                 \
    INT(select, searchmax, 1000)                               \
    INT(select, randomclose, 0)                                \
    INT(select, speedfirst, 300)                               \
    INT(select, speednext, 70)                                 \
    INT(select, control, 0)                                    \
    INT(select, buttonselect, 0)                               \
    INT(select, folderlamp, 0)                                 \
    INT(select, difficultychangetype, 0)                       \
    INT(select, ignorekeyall, 0)                               \
    INT(select, ignorekeysingle, 0)                            \
    INT(select, ignorekeydouble, 0)                            \
    INT(select, ignoredp, 0)                                   \
    INT(select, ignorepms, 0)                                  \
    INT(select, ignoredifficultyall, 0)                        \
    INT(select, ignore5key, 0)                                 \
    INT(select, levelbarflash_7, 12)                           \
    INT(select, levelbarflash_5, 9)                            \
    INT(select, levelbarflash_9, 42)                           \
    INT(select, disabledifficultyfilter, 0)                    \
    INT(select, preview, 1)                                    \
    INT(select, disablesubtitle, 0)                            \
    TEXT(skin, play_7, "")                                     \
    TEXT(skin, play_5, "")                                     \
    TEXT(skin, play_14, "")                                    \
    TEXT(skin, play_10, "")                                    \
    TEXT(skin, play_9, "")                                     \
    TEXT(skin, select, "")                                     \
    TEXT(skin, decide, "")                                     \
    TEXT(skin, result, "")                                     \
    TEXT(skin, keyconfig, "")                                  \
    TEXT(skin, skinselect, "")                                 \
    TEXT(skin, soundset, "")                                   \
    TEXT(skin, theme, "")                                      \
    TEXT(skin, play_7_b, "")                                   \
    TEXT(skin, play_5_b, "")                                   \
    TEXT(skin, play_9_b, "")                                   \
    TEXT(skin, fontname, "Ariel")                              \
    INT(skin, disableimagefont, 0)                             \
    INT(network, qv4ir, 0)                                     \
    TEXT(network, qv4id, "")                                   \
    TEXT(network, qv4pass, "")                                 \
    INT(network, qv5ir, 0)                                     \
    TEXT(network, mail, "")                                    \
    INT(network, autoupdate, 0)                                \
    INT(network, getrival, 0)                                  \
    INT(course, optimumlevel_7, 0)                             \
    INT(course, optimumlevel_5, 0)                             \
    INT(course, optimumlevel_10, 0)                            \
    INT(course, optimumlevel_14, 0)                            \
    INT(course, optimumlevel_9, 0)                             \
    INT(course, defaultconnection, 0)                          \
    INT(course, defaultgauge, 0)                               \
    INT(course, maxbpm, 0)                                     \
    INT(course, minbpm, 0)                                     \
    INT(course, bpmrange, 10)                                  \
    INT(course, maxlevel, 0)                                   \
    INT(course, minlevel, 0)                                   \
    INT(course, stage, 5)                                      \
    TEXT(tools, bmse_body, "bmse.exe")                         \
    TEXT(tools, bmse_option, "")                               \
    INT(tools, movie_audio, 0)                                 \
    INT(tools, movie_framerate, 30)                            \
    INT(tools, mp3_volume, 50)                                 \
    TEXT(tools, mp3enc_body, "lame.exe")                       \
    TEXT(tools, mp3enc_option_movie, "--preset cbr 192")       \
    TEXT(tools, mp3enc_option_normal, "--preset fast extreme") \
    TEXT(tools, oggdec_body, "oggdec.exe")                     \
    TEXT(tools, oggdec_option, "")                             \
    TEXT(tools, oggenc_body, "oggenc2.exe")                    \
    TEXT(tools, oggenc_option, "-q 6")                         \
    INT(tools, autowavtoogg, 0)                                \
    INT(tools, autobmptopng, 0)                                \
    INT(tools, autofumensearch, 0)

struct ConfigRecord {
#define QV5_RECORD_INT(section, key, value) std::int32_t key = value;
#define QV5_RECORD_TEXT(section, key, value) std::string key = value;
#define QV5_RECORD_FOLDERS(section)                                              \
    std::array<std::string, kMaxSongFolders> path; /* registered root folders */ \
    int path_count = 0;
    QV5_CONFIG_KEYS(QV5_RECORD_INT, QV5_RECORD_TEXT, QV5_RECORD_FOLDERS)
#undef QV5_RECORD_INT
#undef QV5_RECORD_TEXT
#undef QV5_RECORD_FOLDERS
};

// The one instance for the whole run.
ConfigRecord& TheConfig();

// The registered root folders in list order, and their replacement (cut
// after kMaxSongFolders entries).
std::vector<std::string> SongFolders(const ConfigRecord& config);
void SetSongFolders(ConfigRecord& config, const std::vector<std::string>& roots);

}  // namespace qv5
