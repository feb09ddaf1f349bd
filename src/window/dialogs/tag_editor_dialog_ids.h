// The tag editor's controls.
#pragma once

namespace qv5::tag_editor_id {

enum : int {
    kTitle = 1014,
    kSubtitle = 1013,
    kGenre = 1026,
    kArtist = 1011,
    kSubartist = 1010,
    kLevel = 1008,
    kExLevel = 1009,
    kDifficulty = 1028,
    kFavorite = 1006,
    kRestore = 1003,
};

}  // namespace qv5::tag_editor_id
