#include "library/tag_editor.h"

#include "config/config_file.h"
#include "library/chart_header.h"
#include "library/song_library.h"
#include "platform/files.h"
#include "platform/transaction.h"
#include "platform/win_path.h"

namespace qv5 {
namespace {

std::string DecimalText(std::int32_t v) {
    return std::to_string(v);
}

}  // namespace

bool OverlayTagRow(Database& db, ChartRecord& r) {
    if (r.hash.empty()) return false;
    // Unqualified, as SaveTags writes it: the table of the attached tag.db.
    Statement s = db.Prepare(
        "SELECT title,subtitle,genre,artist,subartist,tag,level,difficulty,mode,exlevel "
        "FROM tag WHERE hash = ?1");
    if (!s) return false;  // tag.db not attached: nothing to lay over
    s.Bind(1, r.hash);
    if (!s.Step()) return false;
    r.title = s.Text(0);
    r.subtitle = s.Text(1);
    r.genre = s.Text(2);
    r.artist = s.Text(3);
    r.subartist = s.Text(4);
    r.tag = s.Text(5);
    r.level = s.Int(6);
    r.difficulty = s.Int(7);
    r.mode = s.Int(8);
    r.exlevel = s.Int(9);
    r.full_title = r.subtitle.empty() ? r.title : r.title + " " + r.subtitle;
    return true;
}

bool LoadChartAsShown(SongLibrary& library, const WinPath& chart_path_path, ChartRecord& record) {
    const std::string& chart_path = chart_path_path.text();
    record = ChartRecord{};
    if (!library.LookupChart(chart_path_path, record) && !ReadChartHeader(record, chart_path))
        return false;
    OverlayTagRow(library.connection(), record);
    return true;
}

bool LoadChartForTags(SongLibrary& library, const WinPath& chart_path, ChartRecord& record) {
    // Without its hash the chart could be saved nowhere.
    return LoadChartAsShown(library, chart_path, record) && !record.hash.empty();
}

bool LoadFolderForTags(SongLibrary& library, const WinPath& folder_path_path, ChartRecord& record) {
    const std::string& folder_path = folder_path_path.text();
    record = ChartRecord{};
    std::string path = folder_path;
    if (!path.empty() && IsDirectory(path)) path = WinPath(path).AsFolder().text();
    Statement s = library.connection().Prepare(
        "SELECT title,subtitle,category,info_a,info_b,command,max FROM folder WHERE path = ?1");
    if (!s) return false;
    s.Bind(1, path);
    if (!s.Step()) return false;
    record.title = s.Text(0);
    record.subtitle = s.Text(1);
    record.genre = s.Text(2);
    record.artist = s.Text(3);
    record.subartist = s.Text(4);
    record.tag = s.Text(5);
    record.level = s.Int(6);
    record.path = path;
    record.mode = 0;
    return true;
}

TagFields FieldsOf(const ChartRecord& r) {
    TagFields f;
    f.title = r.title;
    f.subtitle = r.subtitle;
    f.genre = r.genre;
    f.artist = r.artist;
    f.subartist = r.subartist;
    f.level = DecimalText(r.level);
    f.exlevel = DecimalText(r.exlevel);
    f.difficulty = DecimalText(r.difficulty);
    f.favorite = r.favorite;
    return f;
}

void ApplyFields(const TagFields& f, ChartRecord& r) {
    r.title = f.title;
    r.subtitle = f.subtitle;
    r.genre = f.genre;
    r.artist = f.artist;
    r.subartist = f.subartist;
    r.level = LeadingNumber(f.level.c_str());
    if (r.level < 1) r.level = 0;
    r.exlevel = LeadingNumber(f.exlevel.c_str());
    if (r.exlevel < 1) r.exlevel = 0;
    r.difficulty = LeadingNumber(f.difficulty.c_str());
    if (r.difficulty > 5) r.difficulty = 5;
    if (r.difficulty < 1) r.difficulty = 0;
    r.favorite = f.favorite ? 1 : 0;
}

bool RestoreFields(const WinPath& chart_path_path, TagFields& f) {
    const std::string& chart_path = chart_path_path.text();
    ChartRecord r;
    if (!ReadChartHeader(r, chart_path)) return false;
    const std::string difficulty = f.difficulty;
    const int favorite = f.favorite;
    f = FieldsOf(r);
    f.difficulty = r.difficulty > 0 ? DecimalText(r.difficulty) : difficulty;
    f.favorite = favorite;
    return true;
}

// The song rows and the tag row change together. Only the tag statements
// may fail quietly (tag.db is not attached without a player): a song or
// folder update that fails means the edit is lost, which the caller tells.
bool SaveTags(SongLibrary& library, const ChartRecord& r) {
    Database& db = library.connection();
    if (r.mode >= 5 && r.hash.empty()) return false;
    Transaction tx(db);
    if (!tx.ok()) return false;
    if (r.mode < 5) {
        const bool saved = db.Exec(
            SqlFormat("UPDATE folder SET title='%q',subtitle='%q',category='%q',info_a='%q',"
                      "info_b='%q',command='%q',max=%d WHERE path = '%q'",
                      r.title.c_str(), r.subtitle.c_str(), r.genre.c_str(), r.artist.c_str(),
                      r.subartist.c_str(), r.tag.c_str(), r.level, r.path.c_str()));
        return saved && tx.Commit();
    }
    const bool saved = db.Exec(SqlFormat(
        "UPDATE song SET title='%q',subtitle='%q',genre='%q',artist='%q',"
        "subartist='%q',tag='%q',level=%d,difficulty=%d,mode=%d,favorite=%d,"
        "exlevel=%d WHERE hash = '%q'",
        r.title.c_str(), r.subtitle.c_str(), r.genre.c_str(), r.artist.c_str(), r.subartist.c_str(),
        r.tag.c_str(), r.level, r.difficulty, r.mode, r.favorite, r.exlevel, r.hash.c_str()));
    const bool inserted = db.Exec(SqlFormat(
        "INSERT INTO tag (hash,title,subtitle,genre,artist,subartist,tag,level,difficulty,mode,"
        "exlevel) VALUES('%q','%q','%q','%q','%q','%q','%q',%d,%d,%d,%d)",
        r.hash.c_str(), r.title.c_str(), r.subtitle.c_str(), r.genre.c_str(), r.artist.c_str(),
        r.subartist.c_str(), r.tag.c_str(), r.level, r.difficulty, r.mode, r.exlevel));
    if (!inserted)
        db.Exec(
            SqlFormat("UPDATE tag SET title='%q',subtitle='%q',genre='%q',artist='%q',"
                      "subartist='%q',tag='%q',level=%d,difficulty=%d,mode=%d,exlevel=%d "
                      "WHERE hash = '%q'",
                      r.title.c_str(), r.subtitle.c_str(), r.genre.c_str(), r.artist.c_str(),
                      r.subartist.c_str(), r.tag.c_str(), r.level, r.difficulty, r.mode, r.exlevel,
                      r.hash.c_str()));
    return saved && tx.Commit();
}

}  // namespace qv5
