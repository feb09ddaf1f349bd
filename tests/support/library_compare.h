// song.db against a fresh registration of the same tree: after an operation
// that changed files and rows, the library should hold what registering the
// roots anew would store.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace qv5::test {

// Registers `roots` (internal paths, as the root list holds them, in that
// order) as the JUKEBOX1 page adds a root: each scanned, then given
// difficulties. The registration goes into the song.db of a second temporary
// game folder, from the same files; the program's own song library is then
// compared with it.
//
// Compared are the rows that the library keeps up to date as files are
// renamed, moved, refreshed and deleted: every song and folder row by its
// path, with the header values, keys, kinds and the song's file time. Left
// out is what a move or rename carries along unchanged until the next
// refresh or re-read: a folder's title and time, and a chart's mark for a
// text file beside it (txt). Left out too are the times a row was written
// (adddate), what the player set (favorite, tag) and the difficulty, which
// the folder pass gives a chart once, when it first meets it (a folder
// filled step by step may rank otherwise than a fresh registration does).
//
// Fails with every row that differs, in both forms.
::testing::AssertionResult MatchesFreshRegistration(const std::vector<std::string>& roots);

}  // namespace qv5::test
