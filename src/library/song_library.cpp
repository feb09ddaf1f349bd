#include "library/song_library.h"

#include <sqlite3.h>

#include "library/encodings.h"
#include "library/file_hash.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "platform/text.h"
#include "player/player_db.h"

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
const char* const kCreateTagTable =
    "CREATE TABLE tag(hash TEXT primary key,title TEXT ,subtitle TEXT ,genre TEXT,artist "
    "TEXT,subartist TEXT,tag TEXT ,level INTEGER,difficulty INTEGER,mode INTEGER,exlevel "
    "INTEGER)";

namespace {

Database& Connection() {
    static Database db;
    return db;
}

// ATTACH names a file of the host; the statement text carries its host path.
std::string AttachPath(const std::string& internal) {
    auto host = ToHostPath(internal);
    return host ? Utf8ToCp932(*host).value_or(std::string()) : std::string();
}

}  // namespace

Database& SongLibrary() {
    return Connection();
}

void OpenSongLibrary(const std::string& player_id) {
    // A game folder made by hand may lack it: song.db and tag.db go there.
    CreateFolders(kDatabaseFolder);
    {
        Database tag;
        if (tag.Open(kTagDbPath)) tag.Exec(kCreateTagTable);
    }
    // Only an existing player's database is used: an ID without one (or one
    // that is no safe file name) must not leave a file that looks like a player.
    const bool player_ok = IsSafePlayerId(player_id) && PathExists(PlayerDbPath(player_id));
    if (player_ok) {
        Database score;
        if (score.Open(PlayerDbPath(player_id), Database::Mode::OpenExisting))
            score.Exec(kCreateScoreTable);
    }
    Database& db = Connection();
    db.Close();
    if (!db.Open(kSongDbPath)) return;
    db.SetLockTable("folder");
    {
        Statement page = db.Prepare("PRAGMA main.page_size");
        const int page_size = page.Step() && page.Int(0) > 0 ? page.Int(0) : 4096;
        // Changes stay in memory until the commit (see kWriteCacheBytes).
        db.Exec(SqlFormat("PRAGMA main.cache_spill = %d", kWriteCacheBytes / page_size));
    }
    db.Exec(kCreateFolderTable);
    db.Exec(kCreateSongTable);
    CreateCourseTables(db);
    const std::string score_path = player_ok ? AttachPath(PlayerDbPath(player_id)) : "";
    if (score_path.empty() || !db.Exec(SqlFormat("ATTACH '%q' AS scoredb", score_path.c_str()))) {
        // No database for this player: lookups and tags still work, on an
        // empty score table that lives only as long as the connection.
        if (db.Exec("ATTACH ':memory:' AS scoredb")) {
            const std::string create = kCreateScoreTable;
            const std::string table = "CREATE TABLE ";
            db.Exec(table + "scoredb." + create.substr(table.size()));
        }
    }
    db.Exec(SqlFormat("ATTACH '%q' AS tagdb", AttachPath(kTagDbPath).c_str()));
}

void CreateCourseTables(Database& db) {
    db.Exec("DROP TABLE course");
    for (const char* name : {"nonstop", "expert", "grade"})
        db.Exec(
            SqlFormat("CREATE TABLE %s(id INTEGER primary key,title TEXT,line INTEGER,hash "
                      "TEXT,ir INTEGER)",
                      name));
}

void ReopenSongLibrary(const std::string& player_id) {
    Connection().Close();
    OpenSongLibrary(player_id);
}

void CloseSongLibrary() {
    Connection().Close();
}

bool ResetSongLibrary(Database& db) {
    return db.Exec("DROP TABLE IF EXISTS folder") && db.Exec("DROP TABLE IF EXISTS song") &&
           db.Exec(kCreateFolderTable) && db.Exec(kCreateSongTable);
}

bool ResetSongLibrary() {
    return ResetSongLibrary(Connection());
}

bool EntryExists(std::string_view path) {
    // The host path drops trailing separators (a trail byte 0x5C is no separator).
    return !path.empty() && PathExists(path);
}

int CountRowsBelow(const char* table, const std::string& prefix) {
    return CountRowsBelow(SongLibrary(), table, prefix);
}

int CountRowsBelow(Database& db, const char* table, const std::string& prefix) {
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

bool LookupChart(const std::string& chart_path, ChartRecord& r) {
    auto hash = FileHash(chart_path);
    if (!hash) return false;
    Statement s = SongLibrary().Prepare(SqlFormat(
        "SELECT * FROM song LEFT JOIN score ON song.hash = score.hash WHERE song.hash = '%q'",
        hash->c_str()));
    if (!s.Step()) return false;
    r.hash = s.Text(0);
    r.title = s.Text(1);
    r.subtitle = s.Text(2);
    r.genre = s.Text(3);
    r.artist = s.Text(4);
    r.subartist = s.Text(5);
    r.tag = s.Text(6);
    r.path = s.Text(7);
    r.type = s.Int(8);
    r.directory = s.Text(9);
    r.stagefile = s.Text(10);
    r.banner = s.Text(11);
    r.backbmp = s.Text(12);
    r.level = s.Int(14);
    r.difficulty = s.Int(15);
    r.maxbpm = s.Int(16);
    r.minbpm = s.Int(17);
    r.mode = s.Int(18);
    r.judge = s.Int(19);
    r.longnote = s.Int(20);
    r.bga = s.Int(21);
    r.random = s.Int(22);
    r.favorite = s.Int(24);
    r.txt = s.Int(25);
    r.adddate = s.Int(27);
    r.exlevel = s.Int(28);
    r.full_title = r.subtitle != "(null)" ? r.title + " " + r.subtitle : r.title;
    if (r.mode > 0) {
        r.clear = s.Int(30);
        r.perfect = s.Int(31);
        r.great = s.Int(32);
        r.good = s.Int(33);
        r.bad = s.Int(34);
        r.poor = s.Int(35);
        r.note_count = s.Int(36);
        r.max_combo = s.Int(37);
        r.min_bp = s.Int(38);
        r.play_count = s.Int(39);
        r.clear_count = s.Int(40);
        r.fail_count = s.Int(41);
        r.rank = s.Int(42);
        r.rate = s.Int(43);
        r.clear_db = s.Int(44);
        r.op_history = s.Int(45);
        r.clear_sd = s.Int(48);
        r.clear_ex = s.Int(49);
        r.op_best = s.Int(50);
        r.rseed = s.Int(51);
        r.complete = s.Int(52);
        r.ex_score = 2 * r.perfect + r.great;
        if (r.rank >= 9) r.rank = 8;
        if (r.rank == 0 && r.perfect + r.great > 0) r.rank = 1;
    }
    return true;
}

std::optional<bool> IsInLibrary(Database& db, const std::string& path) {
    Statement s = db.Prepare(
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
std::optional<std::string> SongFolderHolding(Database& db, const std::string& folder) {
    Statement s = db.Prepare(
        "SELECT path FROM folder WHERE parent = ?2 AND substr(path, -1) = '\\' AND "
        "substr(?1, 1, length(path)) = path");
    if (!s) return std::nullopt;
    s.Bind(1, folder);
    s.Bind(2, std::string(kRootKey));
    if (!s.Step()) return std::nullopt;
    return s.Text(0);
}

}  // namespace qv5
