// One chart or folder in memory.
#pragma once

#include <cstdint>
#include <string>

namespace qv5 {

struct ChartRecord {
    // For folder information files: genre is the category, artist info_a,
    // subartist info_b, tag the command, level the max, judge the kind.
    std::string title, subtitle, genre, artist, subartist;
    std::string path;
    std::string full_title;
    std::string tag;
    std::string hash;
    std::string directory;  // with trailing "\"; the folder key after a lookup
    std::string stagefile, banner, backbmp;
    std::string parent_directory;  // with trailing "\", or "ERROR"
    std::int32_t difficulty = -1;
    std::int32_t level = 0;
    std::int32_t exlevel = 0;
    std::int32_t mode = 5;
    std::int32_t type = 0;
    std::int32_t maxbpm = 0, minbpm = 0;
    std::int32_t bga = 0, longnote = 0, random = 0;
    std::int32_t txt = 0;
    std::int32_t judge = 0;
    std::int32_t favorite = 0;
    std::int32_t adddate = 0;
    std::int32_t note_count = 0;
    // Score fields, filled by LookupChart only.
    std::int32_t clear = 0, perfect = 0, great = 0, good = 0, bad = 0, poor = 0;
    std::int32_t ex_score = 0, max_combo = 0, min_bp = 0;
    std::int32_t play_count = 0, clear_count = 0, fail_count = 0;
    std::int32_t rank = 0, rate = 0, clear_db = 0, op_history = 0, clear_sd = 0, clear_ex = 0;
    std::int32_t op_best = 0, rseed = 0, complete = 0;
};

}  // namespace qv5
