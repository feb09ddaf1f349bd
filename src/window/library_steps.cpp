#include "window/main_window_steps.h"
#include "library/song_library.h"

namespace qv5 {

void OpenLibraryAtStart(const std::string& player_id) {
    OpenSongLibrary(player_id);
}
void ReopenLibrary(const std::string& player_id) {
    ReopenSongLibrary(player_id);
}

}  // namespace qv5
