// What the player and the library's history gave the charts: a song row's
// favourite mark and its "added" date (the song list's newest-first order
// and its New filter). An operation that takes rows out and registers the
// same files again in its own transaction (a rescan, an exclusion whose rows
// another song folder still covers) reads them first and gives them back.
#pragma once

#include <string>

#include "platform/win_path.h"

namespace qv5 {

class Database;

class ChartMarks {
  public:
    // The marks of the song rows below `prefix` ("" for all). False when
    // they could not be read (the database's LastError() says why); a song
    // table of another layout has none to keep, which is no failure.
    bool Read(Database& db, const WinPath& prefix);
    // Once, after the rows came back: each mark goes back to the row of the
    // same path whose file is still the same chart (the same hash). The
    // added date is never earlier than the chart's write time: the row has
    // just been read, and a refresh would take an earlier one for a change
    // and read the chart again. False when a write failed (see LastError();
    // the caller rolls back).
    bool Restore(Database& db);

  private:
    bool kept_ = false;
};

}  // namespace qv5
