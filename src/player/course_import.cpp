#include "player/course_import.h"

#include <sqlite3.h>

#include "library/song_library.h"
#include "platform/database.h"
#include "platform/files.h"
#include "platform/text.h"
#include "platform/transaction.h"
#include "player/xml_list.h"
#include "platform/tr.h"

namespace qv5 {
namespace {

const char* TableOf(int type) {
    switch (type) {
        case 0:
            return "expert";
        case 1:
            return "nonstop";
        case 2:
            return "grade";
        default:
            return nullptr;
    }
}

std::string DbError(const Database& db) {
    return db.IsOpen() ? Utf8ToCp932Lossy(sqlite3_errmsg(db.handle()))
                       : std::string("unable to open database file");
}

void Refuse(CourseImport& r, const std::string& reason) {
    r.count = 0;
    r.error = Tr("CourseImport", "コースを追加できません。") + " (" + reason + ")";
    r.notices.push_back({Tr("CourseImport", "コースを追加できません。"), reason});
}

}  // namespace

// Order of effects: the course tables are made sure of, the list is parsed,
// every entry of a known type is inserted inside one transaction, and only
// after the commit succeeded is the list file deleted, so a failed commit leaves
// the courses in the file rather than nowhere.
CourseImport ImportCourseList(const std::string& path, int busy_ms) {
    CourseImport r;
    Database db;
    db.SetBusyTimeout(busy_ms);
    if (db.Open(kSongDbPath)) CreateCourseTables(db);

    XmlList list;
    if (!LoadXmlList(path, "courselist", "course", list)) {
        r.error = Tr("CourseImport", "コースリストの読み込みに失敗しました。");
        r.notices.push_back({r.error, Tr("CourseImport", "エラー")});
        return r;
    }
    if (!db.IsOpen()) {
        Refuse(r, DbError(db));
        return r;
    }
    Transaction tx(db);
    if (!tx.ok()) {
        Refuse(r, Utf8ToCp932Lossy(db.LastError()));
        return r;
    }
    Statement insert[3];
    for (int type = 0; type < 3; ++type)
        insert[type] = db.Prepare(std::string("INSERT INTO ") + TableOf(type) +
                                  " (title,line,hash,ir) VALUES (?1,?2,?3,1)");
    for (const auto* e = list.first; e; e = e->NextSiblingElement()) {
        const int type = EntryNumber(e, "type");
        if (!TableOf(type)) continue;
        Statement& s = insert[type];
        if (s) {
            s.BindRaw(1, EntryTextUtf8(list, e, "title"));
            s.Bind(2, std::int64_t{EntryNumber(e, "line")});
            s.BindRaw(3, EntryTextUtf8(list, e, "hash"));
        }
        if (s && s.Run())
            ++r.count;
        else
            r.notices.push_back({Tr("CourseImport", "コースを追加できません。"), DbError(db)});
    }
    for (Statement& s : insert) s = Statement();
    if (!tx.Commit()) {
        Refuse(r, Utf8ToCp932Lossy(db.LastError()));
        return r;
    }
    db.Close();
    DeletePath(path);
    r.consumed = true;
    return r;
}

}  // namespace qv5
