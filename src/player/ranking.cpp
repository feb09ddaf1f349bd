#include "player/ranking.h"

#include "library/file_hash.h"
#include "platform/database.h"
#include "platform/files.h"
#include "platform/shell.h"
#include "platform/text.h"
#include "player/player_db.h"
#include "platform/tr.h"

namespace qv5 {
namespace {

void Error(const Tell& tell, const std::string& text) {
    tell(Notice{text, Tr("Ranking", "エラー")});
}

}  // namespace

std::string RankingBaseAddress() {
    std::string text;
    if (!ReadWholeFile(kRankingAddressFile, text)) return kDefaultRankingAddress;
    auto end = text.find_first_of("\r\n");
    if (end != std::string::npos) text.resize(end);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.pop_back();
    return text.empty() ? kDefaultRankingAddress : text;
}

int OpenRankingPage(const std::string& id, const std::string& password, bool my_page,
                    const Tell& tell) {
    static constexpr ColumnList kCols{"hash", "irid"};
    Database db;
    Statement s;
    if (IsSafePlayerId(id) && db.Open(PlayerDbPath(id), Database::Mode::OpenExisting))
        s = db.Prepare(
            SqlFormat("SELECT %s FROM player WHERE id = '%q'", kCols.Text().c_str(), id.c_str()));
    if (!s.Step()) {
        Error(tell, Tr("Ranking", "データベースエラー"));
        return 0;
    }
    const std::string digest = PasswordDigest(password);
    if (s.Text(kCols["hash"]) != digest) {
        Error(tell, Tr("Ranking", "パスワードが違います"));
        return 0;
    }
    const int irid = s.Int(kCols["irid"]);
    if (irid < 1) {
        Error(tell,
              Tr("Ranking",
                 "QV5IR未登録です。\n「QV5IRに参加する」にチェックを入れた状態で起動すると、\n"
                 "自動的に登録されます。"));
        return 0;
    }
    s = Statement();
    db.Close();
    const char* query =
        my_page ? "mode=mypage&login=1&qv5id=%d&passmd5=%s" : "login=1&qv5id=%d&passmd5=%s";
    ShellOpen("\"" + RankingBaseAddress() + "search.cgi?" + SqlFormat(query, irid, digest.c_str()) +
              "\"");
    return 1;
}

int OpenChartRankingPage(const std::string& chart_path) {
    auto hash = FileHash(chart_path);
    if (!hash) return 0;
    ShellOpen("\"" + RankingBaseAddress() + "search.cgi?mode=ranking&bmsmd5=" + *hash + "\"");
    return 1;
}

}  // namespace qv5
