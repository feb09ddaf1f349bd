#include "player/score_restore.h"

#include "config/config_file.h"
#include "library/song_library.h"
#include "platform/database.h"
#include "platform/files.h"
#include "platform/text.h"
#include "platform/tr.h"
#include "platform/transaction.h"
#include "platform/ui_service.h"
#include "player/player_db.h"
#include "player/ranking.h"
#include "player/score_list_copy.h"
#include "player/xml_list.h"

namespace qv5 {
namespace {

Notice Error(const char* text) {
    return {Tr("ScoreRestore", text), Tr("ScoreRestore", "エラー")};
}

Notice Report(const char* text) {
    return {Tr("ScoreRestore", text), kAppTitle};
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

bool InsertScore(Statement& s, const XmlEntry& entry) {
    const tinyxml2::XMLElement* e = entry.element;
    auto num = [e](const char* name) { return std::int64_t{EntryNumber(e, name)}; };
    const std::int64_t playcount = num("playcount"), clearcount = num("clearcount");
    s.BindRaw(1, EntryTextUtf8(entry, "hash"));
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
    s.BindRaw(i++, EntryTextUtf8(entry, "scorehash"));
    for (const char* name : {"clear_sd", "clear_ex", "opt_this", "rseed"}) s.Bind(i++, num(name));
    s.Bind(i++, std::int64_t{1});
    s.BindRaw(i++, EntryTextUtf8(entry, "ghost"));
    return s.Run();
}

// A file where the player's database goes is another player's, unless it is
// empty: that is what an interrupted creation of earlier versions left, and it
// holds no player.
bool HoldsAPlayer(const std::string& path) {
    const auto size = FileSize(path);
    return PathExists(path) && (!size || *size > 0);
}

// Renames the complete database to the player's name, never over a player.
bool PutInPlace(const std::string& building, const std::string& path) {
    if (PathExists(path) && !HoldsAPlayer(path)) DeletePath(path);
    return MovePath(building, path);
}

struct Stored {
    enum class End { Done, Stopped, Failed, Unreadable };
    End end = End::Failed;
    int count = 0;
};

// Fills the new database `file` in one transaction: the player row, the score
// table and one row per entry of temp.xml, read again as the rows are stored
// (`total` entries when it was checked). A row the table refuses (a hash
// listed twice) is skipped. A stop, or a list that no longer reads to its
// end, rolls everything back.
Stored StoreScoreList(const std::string& file, const std::string& id, const std::string& password,
                      int irid, long total, const MakeProgress& make_progress) {
    Stored r;
    std::unique_ptr<Progress> progress =
        make_progress ? make_progress(RestoreStep::Store) : nullptr;
    Database db;
    const bool opened = db.Open(file);
    Transaction tx(db);
    bool ok = opened && tx.ok() && db.Exec(kCreatePlayerTable) &&
              db.Exec(SqlFormat("INSERT INTO player (id , hash , name , systemversion , irid) "
                                "VALUES('%q','%q','%q' , '1' , %d)",
                                id.c_str(), PasswordDigest(password).c_str(), id.c_str(), irid)) &&
              db.Exec(kCreateScoreTable);
    if (ok) {
        Statement insert = db.Prepare(kInsertScore);
        long done = 0;
        const ListRead read =
            ReadXmlList(kScoreListPath, "scorelist", "score", [&](const XmlEntry& e) {
                if (!insert) return false;
                if (progress) {
                    progress->Update(done, total, std::string());
                    if (progress->StopRequested()) {
                        r.end = Stored::End::Stopped;
                        return false;
                    }
                }
                if (InsertScore(insert, e)) ++r.count;
                ++done;
                return true;
            });
        if (read == ListRead::Unreadable) r.end = Stored::End::Unreadable;
        ok = insert && read == ListRead::Done;
    }
    if (ok && tx.Commit()) r.end = Stored::End::Done;
    return r;
}

}  // namespace

ScoreDownload DownloadScoreList(int irid, const std::string& password, const HttpOptions& options,
                                Progress& progress) {
    const std::string url =
        RankingBaseAddress() +
        SqlFormat("restorescore.cgi?id=%d&passmd5=%s", irid, PasswordDigest(password).c_str());
    ScoreDownload d;
    CreateFolders(kConfigFolder);
    FileReplacement file(kScoreListPath);
    if (!file.ok()) {
        d.end = DownloadEnd::NotWritten;
        d.notice =
            Error(QT_TRANSLATE_NOOP("ScoreRestore", "スコアリストの読み込みに失敗しました。"));
        return d;
    }
    // Lines are short: they are gathered into larger writes.
    std::string gathered;
    auto flush = [&file, &gathered] {
        const bool ok = file.Append(gathered);
        gathered.clear();
        return ok;
    };
    ScoreListCopy copy([&gathered, &flush](std::string_view bytes) {
        gathered.append(bytes);
        return gathered.size() < (std::size_t{1} << 16) || flush();
    });
    const HttpResult http = HttpGet(url, options, progress,
                                    [&copy](std::string_view piece) { return copy.Add(piece); });
    if (http.end == HttpEnd::Complete) copy.Finish();
    const bool flushed = flush();
    d.end = DownloadEnd::Saved;
    if (copy.signal() == ScoreListCopy::Signal::Error) {
        d.end = DownloadEnd::ServerError;
        d.notice = Report(QT_TRANSLATE_NOOP("ScoreRestore", "サーバーに接続できません。"));
    } else if (copy.signal() == ScoreListCopy::Signal::Pass) {
        d.end = DownloadEnd::BadPassword;
        d.notice = Report(
            QT_TRANSLATE_NOOP("ScoreRestore", "パスワードが間違っているか、無効なQV5IDです。"));
    } else if (copy.write_failed() || !flushed) {
        d.end = DownloadEnd::NotWritten;
        d.notice =
            Error(QT_TRANSLATE_NOOP("ScoreRestore", "スコアリストの読み込みに失敗しました。"));
    } else if (http.end == HttpEnd::TooLarge) {
        // Only the start of such an answer arrived: it is not kept.
        d.end = DownloadEnd::TooLarge;
        d.notice = Error(QT_TRANSLATE_NOOP("ScoreRestore", "サーバーの応答が大きすぎます。"));
        d.notice.text += " (> " + std::to_string(options.max_body_bytes) + " bytes)";
        return d;
    } else if (http.end == HttpEnd::Failed) {
        d.end = DownloadEnd::NetworkError;
        d.notice = {Utf8ToCp932Lossy(http.error), Tr("ScoreRestore", "エラー")};
    } else if (http.end == HttpEnd::StoppedByUser) {
        d.end = DownloadEnd::Stopped;
    }
    // Once the service answered, what came before a signal or a cut
    // connection stays in temp.xml.
    const bool answered = http.status >= 200 && http.status < 400;
    if (answered && d.end != DownloadEnd::NotWritten && !file.Commit() &&
        d.end == DownloadEnd::Saved) {
        d.end = DownloadEnd::NotWritten;
        d.notice =
            Error(QT_TRANSLATE_NOOP("ScoreRestore", "スコアリストの読み込みに失敗しました。"));
    }
    return d;
}

// Order of effects: the checks of a plain new player; temp.xml is read through
// and found good before any database is touched (and read again to store it:
// a list is too large to hold whole); the player row, the score table and every
// score row go into a new file under a temporary name in one transaction; only
// after the commit is that file renamed to the player's name, never over another
// player's. A stop, a failure or a kill at any moment leaves no file that
// lists as a player.
int CreatePlayerFromScoreList(const std::string& id, const std::string& password, int irid,
                              const Tell& tell, const MakeProgress& make_progress) {
    if (id.size() < 3)
        return Refuse(tell,
                      Error(QT_TRANSLATE_NOOP("ScoreRestore", "IDが短すぎます。(3文字以上)")));
    if (password.size() < 3)
        return Refuse(
            tell, Error(QT_TRANSLATE_NOOP("ScoreRestore", "パスワードが短すぎます。(3文字以上)")));
    if (!IsSafePlayerId(id))
        return Refuse(tell,
                      Error(QT_TRANSLATE_NOOP("ScoreRestore", "IDには半角英数のみ使用可能です。")));

    long entries = 0;
    if (ReadXmlList(kScoreListPath, "scorelist", "score", [&entries](const XmlEntry&) {
            ++entries;
            return true;
        }) != ListRead::Done)
        return Refuse(tell, Error(QT_TRANSLATE_NOOP("ScoreRestore",
                                                    "スコアリストの読み込みに失敗しました。")));

    CreateFolders(kScoreFolder);
    const std::string path = PlayerDbPath(id);
    if (HoldsAPlayer(path))
        return Refuse(tell,
                      Error(QT_TRANSLATE_NOOP("ScoreRestore", "別のプレイヤー名を指定して下さい")));
    const auto building = CreateFreshFile(path + ".new-", kPrivateFileMode);
    // As when the database cannot be opened: no player of that name can be made.
    if (!building)
        return Refuse(tell,
                      Error(QT_TRANSLATE_NOOP("ScoreRestore", "別のプレイヤー名を指定して下さい")));
    const Stored stored = StoreScoreList(*building, id, password, irid, entries, make_progress);
    if (stored.end != Stored::End::Done) {
        DeletePath(*building);
        if (stored.end == Stored::End::Stopped) return 0;
        if (stored.end == Stored::End::Unreadable)
            return Refuse(tell, Error(QT_TRANSLATE_NOOP("ScoreRestore",
                                                        "スコアリストの読み込みに失敗しました。")));
        return Refuse(tell, Error(QT_TRANSLATE_NOOP("ScoreRestore", "データベースエラー")));
    }
    if (!PutInPlace(*building, path)) {
        DeletePath(*building);
        return Refuse(tell,
                      Error(QT_TRANSLATE_NOOP("ScoreRestore", "別のプレイヤー名を指定して下さい")));
    }
    tell({Tr("ScoreRestore", "%nスコアを引き継ぎました。", nullptr, stored.count),
          Tr("ScoreRestore", "報告")});
    return 1;
}

int RestoreScores(const std::string& id, const std::string& password, const std::string& irid_text,
                  const MakeProgress& make_progress, const Tell& tell, const HttpOptions& options) {
    const int irid = LeadingNumber(irid_text.c_str());
    if (irid <= 0)
        return Refuse(tell, Error(QT_TRANSLATE_NOOP("ScoreRestore", "無効なQV5IDです。")));
    tell(Report(QT_TRANSLATE_NOOP(
        "ScoreRestore",
        "スコアデータをダウンロードします。\n環境により時間がかかる場合があります。")));
    ScoreDownload d;
    {
        std::unique_ptr<Progress> progress = make_progress(RestoreStep::Download);
        d = DownloadScoreList(irid, password, options, *progress);
    }
    if (d.end != DownloadEnd::Saved) {
        if (!d.notice.text.empty()) tell(d.notice);
        return 0;
    }
    tell(Report(QT_TRANSLATE_NOOP("ScoreRestore", "スコアデータを読み込みます。")));
    return CreatePlayerFromScoreList(id, password, irid, tell, make_progress);
}

}  // namespace qv5
