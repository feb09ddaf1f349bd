#include "library/song_library.h"

#include <sqlite3.h>

#include <cassert>

#include "library/encodings.h"
#include "library/file_hash.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "platform/text.h"
#include "platform/transaction.h"

namespace qv5 {

const char* const kCreateFolderTable =
    "CREATE TABLE folder(title TEXT ,subtitle TEXT ,category TEXT,info_a TEXT,info_b "
    "TEXT,command TEXT,path TEXT primary key,type INTEGER,banner TEXT,parent TEXT,date "
    "INTEGER,max INTEGER,adddate INTEGER)";
const char* const kCreateSongTable =
    "CREATE TABLE song(hash TEXT ,title TEXT ,subtitle TEXT ,genre TEXT,artist TEXT,subartist "
    "TEXT,tag TEXT ,path TEXT primary key ,type INTEGER,folder TEXT,stagefile TEXT,banner "
    "TEXT,backbmp TEXT,parent TEXT,level INTEGER,difficulty INTEGER,maxbpm INTEGER,minbpm "
    "INTEGER,mode INTEGER,judge INTEGER,longnote INTEGER,bga INTEGER,random INTEGER,date "
    "INTEGER,favorite INTEGER,txt INTEGER,karinotes INTEGER,adddate INTEGER,exlevel INTEGER)";
const char* const kCreateScoreTable =
    "CREATE TABLE score(hash TEXT primary key,clear INTEGER,perfect INTEGER,great INTEGER,good "
    "INTEGER,bad INTEGER,poor INTEGER,totalnotes INTEGER,maxcombo INTEGER,minbp "
    "INTEGER,playcount INTEGER,clearcount INTEGER,failcount INTEGER,rank INTEGER,rate "
    "INTEGER,clear_db INTEGER,op_history INTEGER,scorehash TEXT,ghost TEXT,clear_sd "
    "INTEGER,clear_ex INTEGER,op_best INTEGER, rseed INTEGER, complete INTEGER)";
const char* const kCreateTagTable =
    "CREATE TABLE tag(hash TEXT primary key,title TEXT ,subtitle TEXT ,genre TEXT,artist "
    "TEXT,subartist TEXT,tag TEXT ,level INTEGER,difficulty INTEGER,mode INTEGER,exlevel "
    "INTEGER)";

namespace {

// ATTACH names a file of the host; the statement text carries its host path.
std::string AttachPath(const std::string& internal) {
    auto host = ToHostPath(internal);
    return host ? Utf8ToCp932(*host).value_or(std::string()) : std::string();
}

const char* CourseTableOf(int type) {
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

}  // namespace

bool SongLibrary::Open(const std::string& score_db) {
    db_.Close();
    // A game folder made by hand may lack it: song.db and tag.db go there.
    CreateFolders(kDatabaseFolder);
    {
        Database tag;
        if (tag.Open(kTagDbPath)) tag.Exec(kCreateTagTable);
    }
    // Only an existing player database is attached: ATTACH would make a
    // file that looks like a player.
    const bool player_ok = !score_db.empty() && PathExists(score_db);
    if (!db_.Open(kSongDbPath)) return false;
    db_.SetLockTable("folder");
    {
        Statement page = db_.Prepare("PRAGMA main.page_size");
        const int page_size = page.Step() && page.Int(0) > 0 ? page.Int(0) : 4096;
        // Changes stay in memory until the commit (see kWriteCacheBytes).
        db_.Exec(SqlFormat("PRAGMA main.cache_spill = %d", kWriteCacheBytes / page_size));
    }
    db_.Exec(kCreateFolderTable);
    db_.Exec(kCreateSongTable);
    CreateCourseTables(db_);
    const std::string score_path = player_ok ? AttachPath(score_db) : "";
    const std::string create = kCreateScoreTable;
    const std::string table = "CREATE TABLE ";
    assert(create.compare(0, table.size(), table) == 0);
    if (!score_path.empty() && db_.Exec(SqlFormat("ATTACH '%q' AS scoredb", score_path.c_str()))) {
        // A player database of an older program may lack it.
        db_.Exec(table + "IF NOT EXISTS scoredb." + create.substr(table.size()));
    } else if (db_.Exec("ATTACH ':memory:' AS scoredb")) {
        db_.Exec(table + "scoredb." + create.substr(table.size()));
    }
    db_.Exec(SqlFormat("ATTACH '%q' AS tagdb", AttachPath(kTagDbPath).c_str()));
    return true;
}

bool SongLibrary::OpenForReading() {
    db_.Close();
    return db_.Open(kSongDbPath, Database::Mode::ReadOnly);
}

bool SongLibrary::CanWrite(Progress* progress) {
    if (!db_.IsOpen() || sqlite3_db_readonly(db_.handle(), "main") != 0) return false;
    BusyReporting busy(db_, progress);
    Transaction probe(db_);
    return probe.ok() && probe.Commit();
}

void SongLibrary::Close() {
    db_.Close();
}

bool SongLibrary::Reset() {
    return ResetSongLibrary(db_);
}

int SongLibrary::CountRowsBelow(const char* table, const WinPath& prefix) {
    return qv5::CountRowsBelow(db_, table, prefix);
}

std::string SongLibrary::NearestListedFolder(const WinPath& path) {
    return qv5::NearestListedFolder(db_, path);
}

void CreateCourseTables(Database& db) {
    db.Exec("DROP TABLE course");
    for (const char* name : {"nonstop", "expert", "grade"})
        db.Exec(
            SqlFormat("CREATE TABLE %s(id INTEGER primary key,title TEXT,line INTEGER,hash "
                      "TEXT,ir INTEGER)",
                      name));
}

bool SongLibrary::AddCourses(const std::vector<CourseRow>& rows, std::vector<std::string>& refused,
                             std::string& error) {
    CreateCourseTables(db_);
    Transaction tx(db_);
    if (!tx.ok()) {
        error = db_.LastError();
        return false;
    }
    Statement insert[3];
    for (int type = 0; type < 3; ++type)
        insert[type] = db_.Prepare(std::string("INSERT INTO ") + CourseTableOf(type) +
                                   " (title,line,hash,ir) VALUES (?1,?2,?3,1)");
    for (const CourseRow& row : rows) {
        if (!CourseTableOf(row.type)) continue;
        Statement& s = insert[row.type];
        if (s) {
            s.BindRaw(1, row.title_utf8);
            s.Bind(2, row.line);
            s.BindRaw(3, row.hash_utf8);
        }
        if (!s || !s.Run()) refused.push_back(sqlite3_errmsg(db_.handle()));
    }
    for (Statement& s : insert) s = Statement();
    if (!tx.Commit()) {
        error = db_.LastError();
        return false;
    }
    return true;
}

bool ResetSongLibrary(Database& db) {
    return db.Exec("DROP TABLE IF EXISTS folder") && db.Exec("DROP TABLE IF EXISTS song") &&
           db.Exec(kCreateFolderTable) && db.Exec(kCreateSongTable);
}

bool EntryExists(std::string_view path) {
    // The host path drops trailing separators (a trail byte 0x5C is no separator).
    return !path.empty() && PathExists(path);
}

int CountRowsBelow(Database& db, const char* table, const WinPath& prefix_path) {
    const std::string& prefix = prefix_path.text();
    Statement s =
        db.Prepare(std::string("SELECT count(*) FROM ") + table + " WHERE " + PrefixCondition(1));
    if (!s) return 0;
    BindPrefix(s, 1, prefix);
    return s.Step() ? s.Int(0) : 0;
}

std::string PrefixCondition(int first_param) {
    return "path >= ?" + std::to_string(first_param) + " AND path < ?" +
           std::to_string(first_param + 1);
}

void BindPrefix(Statement& s, int first_param, const std::string& prefix) {
    // Stored text is UTF-8 compared bytewise: every text that starts with the
    // prefix lies between it and the prefix with its last byte raised.
    std::string low = Cp932ToUtf8(prefix);
    std::string high = low;
    while (!high.empty() && static_cast<unsigned char>(high.back()) == 0xFF) high.pop_back();
    if (high.empty()) {
        high = "\xFF\xFF\xFF\xFF";
    } else {
        high.back() = static_cast<char>(static_cast<unsigned char>(high.back()) + 1);
    }
    s.BindRaw(first_param, low);
    s.BindRaw(first_param + 1, high);
}

namespace {

constexpr ColumnList kChartColumns{
    "song.hash",       "song.title",       "song.subtitle",    "song.genre",     "song.artist",
    "song.subartist",  "song.tag",         "song.path",        "song.type",      "song.folder",
    "song.stagefile",  "song.banner",      "song.backbmp",     "song.level",     "song.difficulty",
    "song.maxbpm",     "song.minbpm",      "song.mode",        "song.judge",     "song.longnote",
    "song.bga",        "song.random",      "song.favorite",    "song.txt",       "song.adddate",
    "song.exlevel",    "score.clear",      "score.perfect",    "score.great",    "score.good",
    "score.bad",       "score.poor",       "score.totalnotes", "score.maxcombo", "score.minbp",
    "score.playcount", "score.clearcount", "score.failcount",  "score.rank",     "score.rate",
    "score.clear_db",  "score.op_history", "score.clear_sd",   "score.clear_ex", "score.op_best",
    "score.rseed",     "score.complete"};

}  // namespace

bool SongLibrary::LookupChart(const WinPath& chart_path_path, ChartRecord& r) {
    const std::string& chart_path = chart_path_path.text();
    auto hash = FileHash(chart_path);
    if (!hash) return false;
    constexpr auto& c = kChartColumns;
    Statement s =
        db_.Prepare(SqlFormat("SELECT %s FROM song LEFT JOIN score ON song.hash = "
                              "score.hash WHERE song.hash = '%q'",
                              c.Text().c_str(), hash->c_str()));
    if (!s.Step()) return false;
    r.hash = s.Text(c["song.hash"]);
    r.title = s.Text(c["song.title"]);
    r.subtitle = s.Text(c["song.subtitle"]);
    r.genre = s.Text(c["song.genre"]);
    r.artist = s.Text(c["song.artist"]);
    r.subartist = s.Text(c["song.subartist"]);
    r.tag = s.Text(c["song.tag"]);
    r.path = s.Text(c["song.path"]);
    r.type = s.Int(c["song.type"]);
    r.directory = s.Text(c["song.folder"]);
    r.stagefile = s.Text(c["song.stagefile"]);
    r.banner = s.Text(c["song.banner"]);
    r.backbmp = s.Text(c["song.backbmp"]);
    r.level = s.Int(c["song.level"]);
    r.difficulty = s.Int(c["song.difficulty"]);
    r.maxbpm = s.Int(c["song.maxbpm"]);
    r.minbpm = s.Int(c["song.minbpm"]);
    r.mode = s.Int(c["song.mode"]);
    r.judge = s.Int(c["song.judge"]);
    r.longnote = s.Int(c["song.longnote"]);
    r.bga = s.Int(c["song.bga"]);
    r.random = s.Int(c["song.random"]);
    r.favorite = s.Int(c["song.favorite"]);
    r.txt = s.Int(c["song.txt"]);
    r.adddate = s.Int(c["song.adddate"]);
    r.exlevel = s.Int(c["song.exlevel"]);
    r.full_title = r.subtitle != "(null)" ? r.title + " " + r.subtitle : r.title;
    if (r.mode > 0) {
        r.clear = s.Int(c["score.clear"]);
        r.perfect = s.Int(c["score.perfect"]);
        r.great = s.Int(c["score.great"]);
        r.good = s.Int(c["score.good"]);
        r.bad = s.Int(c["score.bad"]);
        r.poor = s.Int(c["score.poor"]);
        r.note_count = s.Int(c["score.totalnotes"]);
        r.max_combo = s.Int(c["score.maxcombo"]);
        r.min_bp = s.Int(c["score.minbp"]);
        r.play_count = s.Int(c["score.playcount"]);
        r.clear_count = s.Int(c["score.clearcount"]);
        r.fail_count = s.Int(c["score.failcount"]);
        r.rank = s.Int(c["score.rank"]);
        r.rate = s.Int(c["score.rate"]);
        r.clear_db = s.Int(c["score.clear_db"]);
        r.op_history = s.Int(c["score.op_history"]);
        r.clear_sd = s.Int(c["score.clear_sd"]);
        r.clear_ex = s.Int(c["score.clear_ex"]);
        r.op_best = s.Int(c["score.op_best"]);
        r.rseed = s.Int(c["score.rseed"]);
        r.complete = s.Int(c["score.complete"]);
        r.ex_score = 2 * r.perfect + r.great;
        if (r.rank >= 9) r.rank = 8;
        if (r.rank == 0 && r.perfect + r.great > 0) r.rank = 1;
    }
    return true;
}

std::optional<bool> SongLibrary::IsInLibrary(const WinPath& path_path) {
    const std::string& path = path_path.text();
    Statement s = db_.Prepare(
        "SELECT 1 FROM folder WHERE path = ?1 OR (parent = ?2 AND substr(?1, 1, length(path)) = "
        "path) UNION ALL SELECT 1 FROM song WHERE path = ?1");
    if (!s) return std::nullopt;
    s.Bind(1, path);
    s.Bind(2, std::string(kRootKey));
    const bool found = s.Step();
    if (s.Failed()) return std::nullopt;
    return found;
}

// A custom-folder file is a root too, but holds no folder: only rows in
// folder form count.
std::optional<std::string> SongLibrary::SongFolderHolding(const WinPath& folder_path) {
    const std::string& folder = folder_path.text();
    Statement s = db_.Prepare(
        "SELECT path FROM folder WHERE parent = ?2 AND substr(path, -1) = '\\' AND "
        "substr(?1, 1, length(path)) = path");
    if (!s) return std::nullopt;
    s.Bind(1, folder);
    s.Bind(2, std::string(kRootKey));
    if (!s.Step()) return std::nullopt;
    return s.Text(0);
}

}  // namespace qv5
