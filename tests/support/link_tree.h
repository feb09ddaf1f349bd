// A song folder whose links lead back up the walked path (to ".", "..", the
// folder above, "/") and to folders beside the ones that hold them: a walk
// that follows them repeats the tree without end or walks the whole machine.
#pragma once

#include <set>
#include <string>

#include "support/temp_game.h"

namespace qv5::test {

// Makes it at `songs/` of the game; 8 links, none of which a walk enters.
void MakeTreeWithLinksBack(const TempGame& game);
// The folders of that tree a walk enters, as internal paths.
std::set<std::string> FoldersOfTreeWithLinksBack();

}  // namespace qv5::test
