#include "player/score_restore.h"

#include "config/config_file.h"
#include "platform/database.h"
#include "platform/files.h"
#include "platform/text.h"
#include "platform/ui_service.h"
#include "player/player_db.h"
#include "player/ranking.h"
#include "player/xml_list.h"

namespace qv5 {
namespace {

Notice Error(const char8_t* text) {
    return {Sj(text), Sj(u8"エラー")};
}

Notice Report(const char8_t* text) {
    return {Sj(text), kAppTitle};
}

int Refuse(const Tell& tell, const Notice& notice) {
    tell(notice);
    return 0;
}

const char* const kInsertScore =
    "INSERT INTO score (hash,clear ,perfect ,great ,good ,bad ,poor ,totalnotes ,maxcombo "
    ",minbp ,playcount ,clearcount ,failcount ,op_history , rank , rate , clear_db , "
    "scorehash , clear_sd , clear_ex , op_best , rseed , complete , ghost) "
    "VALUES(?1,?2,?3,?4,?5,?6,?7,?8,?9,?10,?11,?12,?13,?14,?15,?16,?17,?18,?19,?20,?21,?22,?23,"
    "?24)";

// 0 to 8 from the perfect and great counts against the notes: the fraction
// dropped, at least 1 once anything was hit, 0 for a chart without notes.
std::int64_t Rank(std::int64_t pg, std::int64_t gr, std::int64_t notes) {
    if (notes <= 0) return 0;
    std::int64_t rank = (18 * pg + 9 * gr) / (2 * notes);
    if (rank > 8) return 8;
    if (rank < 1 && pg + gr > 0) return 1;
    return rank < 0 ? 0 : rank;
}

bool InsertScore(Statement& s, const XmlList& list, const tinyxml2::XMLElement* e) {
    auto num = [e](const char* name) { return std::int64_t{EntryNumber(e, name)}; };
    const std::int64_t playcount = num("playcount"), clearcount = num("clearcount");
    s.BindRaw(1, EntryTextUtf8(list, e, "hash"));
    int i = 2;
    for (const char* name : {"clear", "pg", "gr", "gd", "bd", "pr", "notes", "combo", "minbp"})
        s.Bind(i++, num(name));
    s.Bind(i++, playcount);
    s.Bind(i++, clearcount);
    s.Bind(i++, playcount - clearcount);
    s.Bind(i++, num("opt_history"));
    s.Bind(i++, Rank(num("pg"), num("gr"), num("notes")));
    s.Bind(i++, num("rate"));
    s.Bind(i++, num("clear_db"));
    s.BindRaw(i++, EntryTextUtf8(list, e, "scorehash"));
    for (const char* name : {"clear_sd", "clear_ex", "opt_this", "rseed"}) s.Bind(i++, num(name));
    s.Bind(i++, std::int64_t{1});
    s.BindRaw(i++, EntryTextUtf8(list, e, "ghost"));
    return s.Run();
}

}  // namespace

ScoreDownload DownloadScoreList(int irid, const std::string& password, const HttpOptions& options,
                                Progress& progress) {
    const std::string url =
        RankingBaseAddress() +
        SqlFormat("restorescore.cgi?id=%d&passmd5=%s", irid, PasswordDigest(password).c_str());
    ScoreDownload d;
    d.end = DownloadEnd::Saved;
    std::string body;
    const HttpResult http = HttpGetLines(url, options, progress, [&](std::string_view line) {
        if (line.substr(0, 5) == "ERROR") {
            d.end = DownloadEnd::ServerError;
            d.notice = Report(u8"サーバーに接続できません。");
            return false;
        }
        if (line.substr(0, 4) == "PASS") {
            d.end = DownloadEnd::BadPassword;
            d.notice = Report(u8"パスワードが間違っているか、無効なQV5IDです。");
            return false;
        }
        body.append(line);
        return true;
    });
    if (http.end == HttpEnd::Failed) {
        d.end = DownloadEnd::NetworkError;
        d.notice = {Utf8ToCp932Lossy(http.error), Sj(u8"エラー")};
    } else if (http.end == HttpEnd::StoppedByUser) {
        d.end = DownloadEnd::Stopped;
    }
    // The file is opened once the service answered; what came before a
    // signal or a cut connection stays in it.
    const bool answered = http.status >= 200 && http.status < 400;
    if (answered && !WriteFileAtomic(kScoreListPath, body) && d.end == DownloadEnd::Saved) {
        d.end = DownloadEnd::NotWritten;
        d.notice = Error(u8"スコアリストの読み込みに失敗しました。");
    }
    return d;
}

// Order of effects: the checks of a plain new player; temp.xml is parsed
// before any database is touched; then the player row, the score table and
// every score row go in one transaction, so a player that exists already is
// left exactly as it was and a failed commit leaves no half-made player.
int CreatePlayerFromScoreList(const std::string& id, const std::string& password, int irid,
                              const Tell& tell) {
    if (id.size() < 3) return Refuse(tell, Error(u8"IDが短すぎます。(3文字以上)"));
    if (password.size() < 3) return Refuse(tell, Error(u8"パスワードが短すぎます。(3文字以上)"));
    if (!IsSafePlayerId(id)) return Refuse(tell, Error(u8"IDには半角英数のみ使用可能です。"));

    XmlList list;
    if (!LoadXmlList(kScoreListPath, "scorelist", "score", list))
        return Refuse(tell, Error(u8"スコアリストの読み込みに失敗しました。"));

    const std::string path = PlayerDbPath(id);
    const bool existed = PathExists(path);
    Database db;
    const bool opened = db.Open(path) && db.Exec("BEGIN");
    if (opened) db.Exec(kCreatePlayerTable);
    if (!opened ||
        !db.Exec(SqlFormat("INSERT INTO player (id , hash , name , systemversion , irid) "
                           "VALUES('%q','%q','%q' , '1' , %d)",
                           id.c_str(), PasswordDigest(password).c_str(), id.c_str(), irid))) {
        db.Exec("ROLLBACK");
        db.Close();
        if (!existed) DeletePath(path);
        return Refuse(tell, Error(u8"別のプレイヤー名を指定して下さい"));
    }
    db.Exec(kCreateScoreTable);
    int count = 0;
    {
        Statement insert = db.Prepare(kInsertScore);
        // A row the table refuses (a hash listed twice) is skipped.
        for (const auto* e = list.first; e && insert; e = e->NextSiblingElement())
            if (InsertScore(insert, list, e)) ++count;
    }
    if (!db.Exec("COMMIT")) {
        db.Exec("ROLLBACK");
        db.Close();
        if (!existed) DeletePath(path);
        return Refuse(tell, Error(u8"データベースエラー"));
    }
    db.Close();
    tell({std::to_string(count) + Sj(u8"スコアを引き継ぎました。"), Sj(u8"報告")});
    return 1;
}

int RestoreScores(const std::string& id, const std::string& password, const std::string& irid_text,
                  const MakeProgress& make_progress, const Tell& tell, const HttpOptions& options) {
    const int irid = LeadingNumber(irid_text.c_str());
    if (irid <= 0) return Refuse(tell, Error(u8"無効なQV5IDです。"));
    tell(Report(u8"スコアデータをダウンロードします。\n環境により時間がかかる場合があります。"));
    ScoreDownload d;
    {
        std::unique_ptr<Progress> progress = make_progress();
        d = DownloadScoreList(irid, password, options, *progress);
    }
    if (d.end != DownloadEnd::Saved) {
        if (!d.notice.text.empty()) tell(d.notice);
        return 0;
    }
    tell(Report(u8"スコアデータを読み込みます。"));
    return CreatePlayerFromScoreList(id, password, irid, tell);
}

}  // namespace qv5
