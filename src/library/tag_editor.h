// The user's corrections of a chart (or folder) record: what the tag editor
// shows, the limits its fields are read back with, and where they are saved.
#pragma once

#include <string>

#include "library/chart_record.h"
#include "platform/database.h"
#include "platform/win_path.h"

namespace qv5 {

class SongLibrary;

// The editor's fields as typed: the numbers are texts until OK reads them.
struct TagFields {
    std::string title, subtitle, genre, artist, subartist;
    std::string level, exlevel, difficulty;
    int favorite = 0;
};

// Lays the chart's `tag` row (when tag.db holds one for its hash) over the
// record: its texts, levels, difficulty and mode. A rescan rebuilds `song`
// from the chart files and leaves these edits in `tag` only (the game body
// applies them; the favourite mark stays in `song`), so wherever this
// program shows or edits a chart it does the same. True when a row was
// found; song.db is not changed.
bool OverlayTagRow(Database& db, ChartRecord& record);

// The chart as the player sees it: as the library knows it, or as its header
// reads when the library has no row for it, with its tag row laid over.
// False when the file cannot be read at all.
bool LoadChartAsShown(SongLibrary& library, const WinPath& chart_path, ChartRecord& record);
// The same for the tag editor, which also needs the chart's hash.
bool LoadChartForTags(SongLibrary& library, const WinPath& chart_path, ChartRecord& record);

// A folder's row (a directory, with or without its trailing "\", or a
// custom-folder file) as a folder record: mode 0, level = max, tag = command.
// False when the library has no row for it.
bool LoadFolderForTags(SongLibrary& library, const WinPath& folder_path, ChartRecord& record);

TagFields FieldsOf(const ChartRecord& record);
// OK: the texts back into the record; level and exlevel below 1 read as 0,
// the difficulty is held to 0..5.
void ApplyFields(const TagFields& fields, ChartRecord& record);
// The restore button: the header's texts and levels replace the fields; its
// difficulty only when it is above 0. False when the file cannot be read.
bool RestoreFields(const WinPath& chart_path, TagFields& fields);

// A record whose mode is below 5 is a folder: its `folder` row (by path)
// changes. Otherwise every `song` row of the hash changes and the `tag` row
// of the hash is inserted or updated, in one transaction. The tag statements
// fail silently when tag.db is not attached. False when the song or folder
// update failed (LastError() says why), and for a chart without a hash,
// which is saved nowhere: its rows cannot be told from other unreadable ones.
bool SaveTags(SongLibrary& library, const ChartRecord& record);

}  // namespace qv5
