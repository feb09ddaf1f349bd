#include "player/player_db.h"

#include "library/file_hash.h"
#include "platform/database.h"
#include "platform/files.h"
#include "platform/text.h"
#include "platform/tr.h"
#include "platform/win_path.h"

namespace qv5 {

const char* const kCreatePlayerTable =
    "CREATE TABLE player(id TEXT primary key,hash TEXT,name TEXT,irid INTEGER,irname "
    "TEXT,playcount INTEGER,clear INTEGER,fail INTEGER,perfect INTEGER,great INTEGER,good "
    "INTEGER,bad INTEGER,poor INTEGER,playtime INTEGER,combo INTEGER,maxcombo INTEGER,grade_7 "
    "INTEGER,grade_5 INTEGER,grade_14 INTEGER,grade_10 INTEGER,grade_9 INTEGER,trial "
    "INTEGER,option INTEGER,systemversion INTEGER,gradeversion INTEGER, trialversion "
    "INTEGER,scorehash TEXT)";

namespace {

void Error(const Tell& tell, const char* text) {
    tell(Notice{Tr("PlayerDb", text), Tr("PlayerDb", "エラー")});
}

// "*.db" as the Windows wildcard matches it: the extension in any case.
bool HasDbExtension(const std::string& name) {
    if (name.size() < 3) return false;
    const std::string ext = name.substr(name.size() - 3);
    return ext == ".db" || ext == ".DB" || ext == ".Db" || ext == ".dB";
}

}  // namespace

std::string CannotCreatePlayerMessage(const std::string& host_path, const std::string& why) {
    const std::string detail = "\n" + host_path + "\n" + Utf8ToCp932Lossy(why);
    return Tr("PlayerDb", "プレイヤーデータを作成できません。") + detail;
}

std::string PasswordDigest(const std::string& password) {
    return Md5Hex(password);
}

bool IsSafePlayerId(const std::string& id) {
    if (id.empty() || id.size() >= 200) return false;
    for (unsigned char c : id) {
        if (c < 0x20 || c >= 0x7F) return false;
        if (std::string_view("/\\:*?\"<>|").find(char(c)) != std::string_view::npos) return false;
    }
    auto edge = [](char c) { return c == '.' || c == ' '; };
    return !edge(id.front()) && !edge(id.back());
}

std::string ExistingPlayerDb(const std::string& id) {
    if (!IsSafePlayerId(id)) return {};
    std::string path = PlayerDbPath(id);
    return PathExists(path) ? path : std::string();
}

std::string PlayerDbPath(const std::string& id) {
    const std::string folder = WinPath(kScoreFolder).AsFolder().text();
    const std::string exact = folder + id + ".db";
    if (PathExists(exact)) return exact;
    // A file listed as this player whose extension has another case is the
    // player's file: the list and the sign-in must name the same one.
    std::vector<DirEntry> entries;
    if (ListFolder(kScoreFolder, entries, ListDetail::NamesAndKinds)) {
        for (const DirEntry& e : entries) {
            if (e.directory || !HasDbExtension(e.name)) continue;
            if (e.name.compare(0, e.name.size() - 3, id) == 0 && e.name.size() == id.size() + 3)
                return folder + e.name;
        }
    }
    return exact;
}

std::vector<std::string> ListPlayers() {
    std::vector<std::string> ids;
    std::vector<DirEntry> entries;
    if (!ListFolder(kScoreFolder, entries)) return ids;
    for (const DirEntry& e : entries) {
        if (e.directory || !HasDbExtension(e.name)) continue;
        ids.push_back(e.name.substr(0, e.name.size() - 3));
    }
    return ids;
}

int CreatePlayer(const std::string& id, const std::string& password, const Tell& tell) {
    if (id.size() < 3) {
        Error(tell, QT_TRANSLATE_NOOP("PlayerDb", "IDが短すぎます。(3文字以上)"));
        return 0;
    }
    if (password.size() < 3) {
        Error(tell, QT_TRANSLATE_NOOP("PlayerDb", "パスワードが短すぎます。(3文字以上)"));
        return 0;
    }
    if (!IsSafePlayerId(id)) {
        Error(tell, QT_TRANSLATE_NOOP("PlayerDb", "IDには半角英数のみ使用可能です。"));
        return 0;
    }
    // A game folder made by hand may lack it; a failure is told below.
    CreateFolders(kScoreFolder);
    const std::string path = PlayerDbPath(id);
    const bool existed = PathExists(path);
    // The player row holds the password's digest: a new database, and the
    // journals SQLite makes beside it with its mode, are the user's alone.
    if (!existed) CreateEmptyFile(path, kPrivateFileMode);
    Database db;
    bool ok = false;
    if (db.Open(path)) {
        db.Exec(kCreatePlayerTable);
        ok = db.Exec(SqlFormat(
            "INSERT INTO player (id , hash , name , systemversion) VALUES('%q','%q','%q' , '1')",
            id.c_str(), PasswordDigest(password).c_str(), id.c_str()));
    }
    const std::string sqlite_error = db.LastError();
    db.Close();
    if (!ok && existed) {
        Error(tell, QT_TRANSLATE_NOOP("PlayerDb", "別のプレイヤー名を指定して下さい"));
        return 0;
    }
    if (!ok) {
        // Not the name's fault: a missing or read-only score folder, a full
        // disk. Whatever was begun would list as a player: it goes.
        DeletePath(path);
        const std::string why =
            FolderWriteProblem(kScoreFolder).value_or(sqlite_error.empty() ? "?" : sqlite_error);
        tell(Notice{CannotCreatePlayerMessage(HostPathForMessage(path), why),
                    Tr("PlayerDb", "エラー")});
        return 0;
    }
    tell(Notice{Tr("PlayerDb", "新規データを作成しました。"), Tr("PlayerDb", "報告")});
    return 1;
}

int VerifyPlayerPassword(const std::string& id, const std::string& password, const Tell& tell) {
    Database db;
    // A missing database is not created: it would show up as a player.
    if (!IsSafePlayerId(id) || !db.Open(PlayerDbPath(id), Database::Mode::OpenExisting)) {
        Error(tell, QT_TRANSLATE_NOOP("PlayerDb", "データベースを開けません"));
        return 0;
    }
    const std::string digest = PasswordDigest(password);
    Statement s = db.Prepare(SqlFormat("SELECT hash FROM player WHERE id = '%q'", id.c_str()));
    if (s.Step()) {
        if (s.Text(0) == digest) return 1;
        // A wrong password is no database error: the caller says what it is.
        return 0;
    }
    Error(tell, QT_TRANSLATE_NOOP("PlayerDb", "データベースエラー"));
    return 0;
}

int ScoreCount(const std::string& id) {
    Database db;
    if (!db.Open(PlayerDbPath(id), Database::Mode::OpenExisting)) return 0;
    Statement s = db.Prepare("SELECT count(*) FROM score");
    return s.Step() ? s.Int(0) : 0;
}

}  // namespace qv5
