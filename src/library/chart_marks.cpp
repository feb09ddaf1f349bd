#include "library/chart_marks.h"

#include "library/song_library.h"
#include "platform/database.h"

namespace qv5 {

// The marks wait in a temporary table of this connection, never in song.db:
// neither reading nor giving them back converts a text or runs a statement
// per row. A rollback of the operation takes the table away with the rest.
bool ChartMarks::Read(Database& db, const WinPath& prefix_path) {
    const std::string& prefix = prefix_path.text();
    kept_ = false;
    if (!db.Exec("DROP TABLE IF EXISTS temp.chart_marks")) return false;
    Statement s = db.Prepare(
        "CREATE TEMP TABLE chart_marks AS SELECT path,hash,favorite,adddate FROM "
        "main.song WHERE " +
        PrefixCondition(1));
    if (!s) return true;
    BindPrefix(s, 1, prefix);
    kept_ = s.Run();
    return kept_;
}

bool ChartMarks::Restore(Database& db) {
    if (!kept_) return true;
    kept_ = false;
    return db.Exec(
               "UPDATE song SET favorite = m.favorite , adddate = max(m.adddate , song.date) "
               "FROM temp.chart_marks AS m WHERE song.path = m.path AND song.hash = m.hash") &&
           db.Exec("DROP TABLE temp.chart_marks");
}

}  // namespace qv5
