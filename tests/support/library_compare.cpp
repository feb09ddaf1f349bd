#include "support/library_compare.h"

#include <stdlib.h>

#include <algorithm>
#include <filesystem>
#include <map>

#include "library/difficulty.h"
#include "library/scanner.h"
#include "library/song_library.h"
#include "platform/database.h"
#include "platform/paths.h"
#include "platform/text.h"
#include "platform/transaction.h"
#include "support/test_library.h"

namespace qv5::test {
namespace {

// The compared columns of each table, the path first.
const char* const kSongColumns =
    "path,hash,title,subtitle,genre,artist,subartist,type,folder,parent,stagefile,banner,"
    "backbmp,level,maxbpm,minbpm,mode,judge,longnote,bga,random,date,karinotes,exlevel";
const char* const kFolderColumns =
    "path,subtitle,category,info_a,info_b,command,type,banner,parent,max";

using Rows = std::map<std::string, std::string>;  // path -> its values, UTF-8

std::string ReadRows(Database& db, const std::string& table, const std::string& columns,
                     Rows& rows) {
    const int count = int(std::count(columns.begin(), columns.end(), ',')) + 1;
    Statement s = db.Prepare("SELECT " + columns + " FROM " + table);
    if (!s) return table + ": " + db.LastError();
    while (s.Step()) {
        std::string values;
        for (int c = 1; c < count; ++c) values += (c > 1 ? "|" : "") + s.Text(c);
        rows[Cp932ToUtf8(s.Text(0))] = Cp932ToUtf8(values);
    }
    if (s.Failed()) return table + ": " + db.LastError();
    return {};
}

// A game folder of its own for the fresh song.db, removed again at the end.
class FreshFolder {
  public:
    FreshFolder() {
        std::string tmpl = (std::filesystem::temp_directory_path() / "qv5freshXXXXXX").string();
        if (mkdtemp(tmpl.data())) host_ = tmpl;
    }
    ~FreshFolder() {
        std::error_code ec;
        if (!host_.empty()) std::filesystem::remove_all(host_, ec);
    }
    const std::string& host() const { return host_; }

  private:
    std::string host_;
};

std::string Register(Database& db, const std::vector<std::string>& roots) {
    if (!db.Exec(kCreateFolderTable) || !db.Exec(kCreateSongTable)) return db.LastError();
    for (const std::string& root : roots) {
        LibraryReport report;
        Transaction tx(db);
        if (!tx.ok() || !RegisterRootFolder(db, WinPath(root), nullptr, report) ||
            !AssignFolderDifficulties(db, WinPath(root), nullptr, report) || !tx.Commit())
            return "registering " + Cp932ToUtf8(root) + ": " + report.error + db.LastError();
    }
    return {};
}

}  // namespace

::testing::AssertionResult MatchesFreshRegistration(const std::vector<std::string>& roots) {
    FreshFolder folder;
    if (folder.host().empty()) return ::testing::AssertionFailure() << "no temporary folder";
    const auto db_path = FromHostPath(folder.host() + "/song.db");
    Database fresh;
    if (!db_path || !fresh.Open(*db_path))
        return ::testing::AssertionFailure() << "cannot open a song.db in " << folder.host();
    if (std::string error = Register(fresh, roots); !error.empty())
        return ::testing::AssertionFailure() << error;

    std::string diff;
    for (const auto& [table, columns] :
         {std::pair<std::string, std::string>{"song", kSongColumns}, {"folder", kFolderColumns}}) {
        Rows kept, expected;
        std::string error = ReadRows(TestDb(), table, columns, kept);
        if (error.empty()) error = ReadRows(fresh, table, columns, expected);
        if (!error.empty()) return ::testing::AssertionFailure() << error;
        for (const auto& [path, values] : kept) {
            auto it = expected.find(path);
            if (it != expected.end() && it->second == values) continue;
            diff += "\n" + table + " in song.db:        " + path + " " + values;
            if (it != expected.end())
                diff += "\n" + table + " when registered: " + path + " " + it->second;
        }
        for (const auto& [path, values] : expected)
            if (!kept.count(path))
                diff += "\n" + table + " only registered: " + path + " " + values;
    }
    if (diff.empty()) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "song.db differs from a fresh registration of "
                                         << roots.size() << " root(s):" << diff;
}

}  // namespace qv5::test
