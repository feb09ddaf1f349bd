#include "library/scanner.h"

#include <limits.h>
#include <sqlite3.h>

#include <cctype>
#include <vector>

#include "library/chart_header.h"
#include "library/encodings.h"
#include "library/scanner_internal.h"
#include "library/song_library.h"
#include "platform/paths.h"
#include "platform/text.h"
#include "platform/transaction.h"

namespace qv5 {
namespace {

constexpr const char* kStopped = "stopped by the user; nothing was stored";

std::int32_t DateOf(const std::string& path) {
    auto t = WriteTime(path);
    return t ? LibraryTime(*t) : -1;
}

}  // namespace

int ReportError(LibraryReport* report, const std::string& error, int result) {
    if (report) report->error = error;
    return result;
}

bool IsChartFile(const std::string& name) {
    if (name.size() <= 4) return false;
    std::string ext = name.substr(name.size() - 4);
    for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return ext == ".bme" || ext == ".bms" || ext == ".bml" || ext == ".pms";
}

bool IsCustomFolderFile(const std::string& name) {
    return name.size() > 10 && name.compare(name.size() - 10, 10, ".qv5folder") == 0;
}

Scanner::Scanner(Database& db, Progress* progress)
    : db_(db),
      progress_(progress),
      info_folder_(db.Prepare(
          "INSERT INTO folder (path , title , parent , category , info_a , info_b , command , max "
          ", date , type , banner , adddate) VALUES(?1,?2,?3,?4,?5,?6,?7,?8,?9,?10,?11,?12)")),
      plain_folder_(db.Prepare("INSERT INTO folder (path , title , parent , date , type , adddate) "
                               "VALUES(?1,?2,?3,?4 , 1 , ?5 )")),
      song_(db.Prepare(
          "INSERT INTO song (hash,title,subtitle,genre,artist,subartist,level,date,path,folder,"
          "stagefile,banner,backbmp,parent,maxbpm,minbpm,random,longnote,judge,mode,bga,"
          "difficulty,favorite,type,txt,karinotes,adddate,exlevel) VALUES(?1,?2,?3,?4,?5,?6,?7,"
          "?8,?9,?10,?11,?12,?13,?14,?15,?16,?17,?18,?19,?20,?21,?22,0,0,?23,?24,?25,?26)")),
      song_exists_(db.Prepare("SELECT 1 FROM song WHERE path = ?1")),
      folder_exists_(db.Prepare("SELECT 1 FROM folder WHERE path = ?1")) {
    // A library of another layout cannot take these statements: nothing may
    // be counted as registered then.
    if (!info_folder_ || !plain_folder_ || !song_ || !song_exists_ || !folder_exists_) {
        failed_ = true;
        error_ = db.LastError();
    }
}

int Scanner::Finish(LibraryReport* report, int result) const {
    if (report) {
        report->too_long += too_long_;
        if (stopped_) {
            report->stopped = true;
            report->error = kStopped;
        } else if (failed_) {
            report->error = error_;
        }
    }
    return result;
}

bool Scanner::CheckStop() {
    if (progress_ && progress_->StopRequested()) stopped_ = true;
    return stopped_;
}

Scanner::Insert Scanner::Result(int rc) {
    if (rc == SQLITE_DONE) return Insert::Added;
    // The primary key is taken: the entry is registered already.
    if (rc == SQLITE_CONSTRAINT) return Insert::Exists;
    failed_ = true;
    error_ = db_.LastError();
    return Insert::Failed;
}

Scanner::Insert Scanner::InsertInfoFolder(const std::string& path, const ChartRecord& r,
                                          const std::string& parent_key, std::int32_t date,
                                          std::int32_t kind, std::int32_t adddate) {
    return Result(info_folder_.ExecuteRow(path, r.title, parent_key, r.genre, r.artist, r.subartist,
                                          r.tag, r.level, date, kind, r.banner, adddate));
}

Scanner::Insert Scanner::InsertPlainFolder(const std::string& path, const std::string& title,
                                           const std::string& parent_key, std::int32_t date,
                                           std::int32_t adddate) {
    return Result(plain_folder_.ExecuteRow(path, title, parent_key, date, adddate));
}

Scanner::Insert Scanner::InsertChart(const std::string& path, const ChartRecord& r,
                                     std::int32_t date, std::int32_t adddate) {
    return Result(song_.ExecuteRow(r.hash, r.title, r.subtitle, r.genre, r.artist, r.subartist,
                                   r.level, date, path, PathKey(r.directory), r.stagefile, r.banner,
                                   r.backbmp, PathKey(r.parent_directory), r.maxbpm, r.minbpm,
                                   r.random, r.longnote, r.judge, r.mode, r.bga, r.difficulty,
                                   r.txt, r.note_count, adddate, r.exlevel));
}

bool Scanner::SongExists(const std::string& path) {
    song_exists_.Bind(1, path);
    const bool found = song_exists_.Step();
    if (song_exists_.Failed()) Result(SQLITE_ERROR);
    song_exists_.Reset();
    return found;
}

bool Scanner::FolderExists(const std::string& path) {
    folder_exists_.Bind(1, path);
    const bool found = folder_exists_.Step();
    if (folder_exists_.Failed()) Result(SQLITE_ERROR);
    folder_exists_.Reset();
    return found;
}

// Host paths have a length limit that internal ones do not: an entry whose
// path would exceed it cannot be read and is counted instead of registered.
bool Scanner::Fits(const std::string& path, const std::string& name) {
    const size_t rough = ProgramDirectory().size() + path.size() + name.size() + 1;
    if (rough * 3 / 2 < PATH_MAX - 1) return true;  // CP932 grows at most by half in UTF-8
    const auto host = ToHostPath(path + name + "\\");
    if (host && host->size() < PATH_MAX - 1) return true;
    ++too_long_;
    return false;
}

Scanner::Insert Scanner::InsertSubfolder(const std::string& sub, const std::string& name,
                                         const std::string& parent_key, std::int32_t date,
                                         std::int32_t now) {
    const std::string info = sub + "folderinfo.txt";
    if (PathExists(info)) {
        ChartRecord r;
        ReadChartHeader(r, info);
        return InsertInfoFolder(sub, r, parent_key, date, r.judge == 2 ? 2 : 1, now);
    }
    return InsertPlainFolder(sub, name, parent_key, date, now);
}

// Adds the rows for the entries of one registered directory and descends
// into the sub-folders whose rows are new, depth-first, in listing order.
// Rows that exist already are looked up first, so only new entries are read
// and timed. Runs inside the caller's transaction and stops at the first
// failed write or a stop request, leaving the rollback to the caller.
int Scanner::Scan(const std::string& path_in, const std::string& parent_path) {
    std::string path = path_in;
    if (path.empty() || path.back() != '\\') path += '\\';
    const std::int32_t now = LibraryTimeNow();
    const std::string parent_key = PathKey(parent_path);
    int count = 0;
    Report(path);
    std::vector<DirEntry> entries;
    ListFolder(path, entries, ListDetail::NamesAndKinds);
    for (const DirEntry& e : entries) {
        if (!ok() || CheckStop()) break;
        if (!Fits(path, e.name)) continue;
        if (e.directory) {
            const std::string sub = path + e.name + "\\";
            if (FolderExists(sub)) continue;
            if (InsertSubfolder(sub, e.name, parent_key, DateOf(sub), now) == Insert::Added)
                count += Scan(sub, sub);
        } else if (IsChartFile(e.name)) {
            const std::string file = path + e.name;
            ++count;
            if (SongExists(file)) continue;
            const std::int32_t date = DateOf(file);
            ChartRecord r;
            ReadChartHeader(r, file);
            ++charts_read_;
            Report(file);
            InsertChart(file, r, date, now);
        } else if (IsCustomFolderFile(e.name)) {
            const std::string file = path + e.name;
            ++count;
            if (FolderExists(file)) continue;
            ChartRecord r;
            ReadChartHeader(r, file);
            InsertInfoFolder(file, r, parent_key, DateOf(file), 2, now);
        }
    }
    return count;
}

void Scanner::Report(const std::string& item) {
    if (progress_) progress_->Update(charts_read_, -1, item);
}

int ScanFolder(Database& db, const std::string& path, const std::string& parent_path,
               Progress* progress, LibraryReport* report) {
    BusyReporting busy(db, progress);
    Scanner scanner(db, progress);
    const int count = scanner.ok() ? scanner.Scan(path, parent_path) : 0;
    return scanner.Finish(report, scanner.ok() ? count : -1);
}

int ScanFolder(const std::string& path, const std::string& parent_path, Progress* progress,
               LibraryReport* report) {
    return ScanFolder(SongLibrary(), path, parent_path, progress, report);
}

// One transaction: the root's row, then (only when that row is new) every
// row below it. Any failed write, a failed COMMIT or a stop request rolls
// all of it back, so a root is either registered whole or not at all.
int RegisterRootFolder(Database& db, const std::string& path, Progress* progress,
                       LibraryReport* report) {
    BusyReporting busy(db, progress);
    Transaction tx(db);
    if (!tx.ok()) return ReportError(report, db.LastError(), 0);
    const auto time = WriteTime(path);
    if (!time) return -1;
    const std::int32_t date = LibraryTime(*time);
    const std::int32_t now = LibraryTimeNow();
    Scanner scanner(db, progress);
    if (!scanner.ok()) return scanner.Finish(report, 0);
    const std::string name = LastPathName(path);
    if (IsDirectory(path)) {
        const std::string info = path + "folderinfo.txt";
        Scanner::Insert inserted;
        if (PathExists(info)) {
            ChartRecord r;
            ReadChartHeader(r, info);
            inserted = scanner.InsertInfoFolder(path, r, kRootKey, date, r.judge == 2 ? 2 : 1, now);
        } else {
            inserted = scanner.InsertPlainFolder(path, name, kRootKey, date, now);
        }
        if (inserted == Scanner::Insert::Added) scanner.Scan(path, path);
    } else if (IsCustomFolderFile(name)) {
        ChartRecord r;
        ReadChartHeader(r, path);
        std::int32_t kind = 2;
        if (r.tag == "__NEWSONG__")
            kind = 3;
        else if (r.tag == "__RIVAL__")
            kind = 4;
        else if (r.tag == "__EXPERT__" || r.tag == "__NONSTOP__" || r.tag == "__GRADE__")
            kind = 6;
        scanner.InsertInfoFolder(path, r, kRootKey, date, kind, now);
    }
    if (!scanner.ok() || scanner.CheckStop()) return scanner.Finish(report, 0);
    if (!tx.Commit()) return ReportError(report, db.LastError(), 0);
    return scanner.Finish(report, 1);
}

int RegisterRootFolder(const std::string& path, Progress* progress, LibraryReport* report) {
    return RegisterRootFolder(SongLibrary(), path, progress, report);
}

bool ScanParentFolder(Database& db, const std::string& path, Progress* progress,
                      LibraryReport* report) {
    BusyReporting busy(db, progress);
    Transaction tx(db);
    if (!tx.ok()) return ReportError(report, db.LastError(), 0);
    const std::string parent = ParentPath(path);
    if (ScanFolder(db, parent, parent, progress, report) < 0) return false;
    if (!tx.Commit()) return ReportError(report, db.LastError(), 0);
    return true;
}

bool ScanParentFolder(const std::string& path, Progress* progress, LibraryReport* report) {
    return ScanParentFolder(SongLibrary(), path, progress, report);
}

}  // namespace qv5
