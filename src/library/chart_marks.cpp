#include "library/chart_marks.h"

#include <sqlite3.h>

#include "library/song_library.h"
#include "platform/database.h"

namespace qv5 {

bool ChartMarks::Read(Database& db, const std::string& prefix) {
    marks_.clear();
    Statement s =
        db.Prepare("SELECT path,hash,favorite,adddate FROM song WHERE " + PrefixCondition(1));
    if (!s) return true;
    BindPrefix(s, 1, prefix);
    while (s.Step()) marks_.push_back({s.Text(0), s.Text(1), s.Int(2), s.Int(3)});
    return !s.Failed();
}

bool ChartMarks::Restore(Database& db) const {
    if (marks_.empty()) return true;
    Statement s = db.Prepare(
        "UPDATE song SET favorite = ?1 , adddate = max(?2 , date) WHERE path = ?3 AND hash = ?4");
    if (!s) return false;
    for (const Mark& m : marks_)
        if (s.ExecuteRow(m.favorite, m.adddate, m.path, m.hash) != SQLITE_DONE) return false;
    return true;
}

}  // namespace qv5
