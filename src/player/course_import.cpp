#include "player/course_import.h"

#include "library/song_library.h"
#include "platform/database.h"
#include "platform/files.h"
#include "platform/text.h"
#include "platform/tr.h"
#include "player/xml_list.h"

namespace qv5 {
namespace {

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
CourseImport ImportCourseList(SongLibrary& library, const std::string& path) {
    CourseImport r;
    XmlList list;
    if (!LoadXmlList(path, "courselist", "course", list)) {
        r.error = Tr("CourseImport", "コースリストの読み込みに失敗しました。");
        r.notices.push_back({r.error, Tr("CourseImport", "エラー")});
        return r;
    }
    if (!library.IsOpen()) {
        Refuse(r, "unable to open database file");
        return r;
    }
    std::vector<CourseRow> rows;
    for (const auto* e = list.first; e; e = e->NextSiblingElement())
        rows.push_back({EntryNumber(e, "type"), EntryTextUtf8(list, e, "title"),
                        std::int64_t{EntryNumber(e, "line")}, EntryTextUtf8(list, e, "hash")});
    std::vector<std::string> refused;
    std::string error;
    if (!library.AddCourses(rows, refused, error)) {
        Refuse(r, Utf8ToCp932Lossy(error));
        return r;
    }
    r.count = 0;
    for (const CourseRow& row : rows) r.count += row.type >= 0 && row.type <= 2;
    r.count -= static_cast<int>(refused.size());
    for (const std::string& why : refused)
        r.notices.push_back(
            {Tr("CourseImport", "コースを追加できません。"), Utf8ToCp932Lossy(why)});
    DeletePath(path);
    r.consumed = true;
    return r;
}

}  // namespace qv5
