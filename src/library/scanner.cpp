#include "library/scanner.h"

#include <limits.h>
#include <sqlite3.h>

#include <algorithm>
#include <cctype>
#include <vector>

#include "library/chart_header.h"
#include "library/chart_names.h"
#include "library/chart_parse.h"
#include "library/encodings.h"
#include "library/scanner_internal.h"
#include "library/song_library.h"
#include "platform/paths.h"
#include "platform/text.h"
#include "platform/transaction.h"
#include "platform/win_path.h"

namespace qv5 {
namespace {

constexpr const char* kStopped = "stopped by the user; nothing was stored";
// Charts read ahead of the one being stored: enough to keep every worker
// busy across folder boundaries, few enough to bound memory.
constexpr size_t kReadAhead = 96;
// While it waits for a slow chart the scan still reports this often, so a
// progress window stays painted and its Stop button answers.
constexpr std::chrono::milliseconds kWaitSlice{50};

std::int32_t DateOf(const std::string& path) {
    auto t = WriteTime(path);
    return t ? LibraryTime(*t) : -1;
}

}  // namespace

bool ReportError(LibraryReport& report, const std::string& error) {
    report.error = error;
    return false;
}

std::optional<std::string> FindIgnoringCase(const std::string& path,
                                            const std::vector<DirEntry>* entries) {
    const std::string name = WinPath(path).LastName();
    if (name.empty() || name.size() > path.size()) return std::nullopt;
    const std::string dir = path.substr(0, path.size() - name.size());
    std::vector<DirEntry> own;
    if (!entries) {
        if (PathExists(path)) return path;
        if (!ListFolder(dir.empty() ? "." : dir, own, ListDetail::NamesAndKinds))
            return std::nullopt;
        entries = &own;
    }
    const DirEntry* found = nullptr;
    for (const DirEntry& e : *entries) {
        if (e.name == name) return path;
        if (!found && SameNameIgnoringCase(e.name, name)) found = &e;
    }
    if (found) return dir + found->name;
    return std::nullopt;
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

// Joins the readers on every path out, a stop or a failure included.
Scanner::~Scanner() = default;

bool Scanner::Finish(LibraryReport& report, bool result) const {
    report.too_long += too_long_;
    report.repeated += repeated_;
    if (stopped_) {
        report.stopped = true;
        report.error = kStopped;
    } else if (failed_) {
        report.error = error_;
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
    const Insert done =
        Result(info_folder_.ExecuteRow(path, r.title, parent_key, r.genre, r.artist, r.subartist,
                                       r.tag, r.level, date, kind, r.banner, adddate));
    if (done == Insert::Added && known_folders_) known_folders_->Insert(path);
    return done;
}

Scanner::Insert Scanner::InsertPlainFolder(const std::string& path, const std::string& title,
                                           const std::string& parent_key, std::int32_t date,
                                           std::int32_t adddate) {
    const Insert done = Result(plain_folder_.ExecuteRow(path, title, parent_key, date, adddate));
    if (done == Insert::Added && known_folders_) known_folders_->Insert(path);
    return done;
}

Scanner::Insert Scanner::InsertChart(const std::string& path, const ChartRecord& r,
                                     std::int32_t date, std::int32_t adddate) {
    if (known_songs_) known_songs_->Insert(path);
    if (r.difficulty < 0 || r.difficulty > 5) unknown_difficulty_ = true;
    return Result(song_.ExecuteRow(r.hash, r.title, r.subtitle, r.genre, r.artist, r.subartist,
                                   r.level, date, path, PathKey(r.directory), r.stagefile, r.banner,
                                   r.backbmp, PathKey(r.parent_directory), r.maxbpm, r.minbpm,
                                   r.random, r.longnote, r.judge, r.mode, r.bga, r.difficulty,
                                   r.txt, r.note_count, adddate, r.exlevel));
}

bool Scanner::SongExists(const std::string& path) {
    if (known_songs_) return known_songs_->Contains(path);
    song_exists_.Bind(1, path);
    const bool found = song_exists_.Step();
    if (song_exists_.Failed()) Result(SQLITE_ERROR);
    song_exists_.Reset();
    return found;
}

bool Scanner::FolderExists(const std::string& path) {
    if (known_folders_) return known_folders_->Contains(path);
    folder_exists_.Bind(1, path);
    const bool found = folder_exists_.Step();
    if (folder_exists_.Failed()) Result(SQLITE_ERROR);
    folder_exists_.Reset();
    return found;
}

// Host paths have a length limit that internal ones do not: an entry whose
// path would exceed it cannot be read and is counted instead of registered.
bool FitsHostPath(const std::string& path, const std::string& name) {
    const size_t rough = ProgramDirectory().size() + path.size() + name.size() + 1;
    if (rough * 3 / 2 < PATH_MAX - 1) return true;  // CP932 grows at most by half in UTF-8
    const auto host = ToHostPath(WinPath(path).Join(name).AsFolder().text());
    return host && host->size() < PATH_MAX - 1;
}

bool Scanner::Fits(const std::string& path, const std::string& name) {
    if (FitsHostPath(path, name)) return true;
    ++too_long_;
    return false;
}

Scanner::Insert Scanner::InsertSubfolder(const std::string& sub, const std::string& name,
                                         const std::string& parent_key, std::int32_t date,
                                         std::int32_t now, const std::vector<DirEntry>* entries) {
    if (const auto info = FindIgnoringCase(sub + "folderinfo.txt", entries)) {
        ChartRecord r;
        ReadChartHeader(r, *info);
        return InsertInfoFolder(sub, r, parent_key, date, r.judge == 2 ? 2 : 1, now);
    }
    return InsertPlainFolder(sub, name, parent_key, date, now);
}

// A directory is registered once, by the first path that reaches it; links
// up the walked path and links into the tree are left to the folders' own
// paths (SubfolderRule).
bool Scanner::FirstPath(const std::string& sub, const std::optional<EntryFacts>& facts) {
    if (rule_.Enters(sub, facts)) return true;
    ++repeated_;
    return false;
}

const std::string& Scanner::Tree() {
    if (!tree_.empty() && top_.compare(0, tree_.size(), tree_) == 0) return tree_;
    Statement s = db_.Prepare(
        "SELECT path FROM folder WHERE parent = ?1 AND substr(?2, 1, length(path)) = path "
        "ORDER BY length(path) DESC LIMIT 1");
    s.Bind(1, std::string(kRootKey));
    s.Bind(2, top_);
    tree_ = s.Step() ? s.Text(0) : top_;
    return tree_;
}

int Scanner::Scan(const std::string& path, const std::string& parent_path,
                  const std::vector<DirEntry>* listed) {
    top_ = path;
    rule_.Start(top_);
    const int count = Walk(path, parent_path, listed);
    if (flush_each_scan_) Flush();  // what is still being read is dropped when not ok
    return count;
}

// Adds the rows for the entries of one registered directory and descends
// into the sub-folders whose rows are new, depth-first, in listing order.
// Rows that exist already are looked up first, so only new entries are read
// and timed. A directory entry that leads back to a directory on the path
// being walked (a link to ".." or above), or that the walk reached by
// another path, gets no row and no descent (FirstPath). Runs inside the
// caller's transaction and stops at the first failed write or a stop
// request, leaving the rollback to the caller.
int Scanner::Walk(const std::string& path_in, const std::string& parent_path,
                  const std::vector<DirEntry>* listed) {
    const std::string path = WinPath(path_in).AsFolder().text();
    const std::int32_t now = LibraryTimeNow();
    const std::string parent_key = PathKey(parent_path);
    int count = 0;
    Report(path);
    std::vector<DirEntry> own;
    if (!listed) ListFolder(path, own, ListDetail::NamesAndKinds);
    const std::vector<DirEntry>& entries = listed ? *listed : own;
    std::shared_ptr<ChartFolder> folder;  // made for the first new chart
    for (const DirEntry& e : entries) {
        if (!ok() || CheckStop()) break;
        if (!Fits(path, e.name)) continue;
        if (e.directory) {
            const std::string sub = WinPath(path).Join(e.name).AsFolder().text();
            if (FolderExists(sub)) continue;
            const auto facts = LookUpEntry(sub);
            if (!FirstPath(sub, facts)) continue;
            std::vector<DirEntry> sub_entries;
            const bool listed_sub = ListFolder(sub, sub_entries, ListDetail::NamesAndKinds);
            const std::int32_t date = facts ? LibraryTime(facts->write_time) : -1;
            if (InsertSubfolder(sub, e.name, parent_key, date, now,
                                listed_sub ? &sub_entries : nullptr) != Insert::Added)
                continue;
            rule_.Descend(facts);
            count += Walk(sub, sub, listed_sub ? &sub_entries : nullptr);
            rule_.Ascend(facts);
        } else if (IsChartName(e.name)) {
            std::string file = path + e.name;
            ++count;
            if (SongExists(file)) continue;
            if (!folder) {
                // What reading each chart would find out about its folder.
                folder = std::make_shared<ChartFolder>();
                folder->directory = path;
                folder->parent_directory = ParentPath(path);
                folder->txt = std::any_of(entries.begin(), entries.end(),
                                          [](const DirEntry& d) { return IsTextFileName(d.name); });
            }
            ChartJob job;
            job.path = std::move(file);
            job.adddate = now;
            job.folder = folder;
            ReadChart(std::move(job));
        } else if (IsCustomFolderName(e.name)) {
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

void Scanner::ReadAndInsert(const std::string& path, std::int32_t date, std::int32_t adddate) {
    ChartJob job;
    job.path = path;
    job.date = date;
    job.find_date = false;
    job.adddate = adddate;
    ReadChart(std::move(job));
}

bool Scanner::Flush() {
    Collect(true);
    if (!ok()) pipeline_.reset();
    return ok();
}

void Scanner::ReadChart(ChartJob job) {
    if (!pipeline_) pipeline_ = std::make_unique<ChartPipeline>(ChartReadWorkers());
    pipeline_->Submit(std::move(job));
    Collect(false);
}

// Stores the charts read so far, in the order they were handed in; waits
// for them when `all` or when too many are ahead.
void Scanner::Collect(bool all) {
    while (pipeline_ && pipeline_->pending() > 0 && ok()) {
        const bool wait = all || pipeline_->pending() >= kReadAhead;
        auto job = pipeline_->TakeFront(wait ? kWaitSlice : std::chrono::milliseconds(0));
        if (job) {
            Store(*job);
            continue;
        }
        if (!wait) return;
        Report(current_);
        CheckStop();
    }
}

void Scanner::Store(ChartJob& job) {
    ChartRecord& r = job.record;
    if (job.read && job.folder) {
        r.directory = job.folder->directory;
        r.parent_directory = job.folder->parent_directory;
        r.txt = job.folder->txt;
    }
    ++charts_read_;
    Report(job.path);
    InsertChart(job.path, r, job.date, job.adddate);
}

void Scanner::Report(const std::string& item) {
    if (!progress_) return;
    if (&item != &current_) current_ = item;
    progress_->Update(charts_read_, -1, current_);
}

std::optional<int> ScanFolder(Database& db, const WinPath& path_path,
                              const WinPath& parent_path_path, Progress* progress,
                              LibraryReport& report) {
    const std::string& path = path_path.text();
    const std::string& parent_path = parent_path_path.text();
    BusyReporting busy(db, progress);
    Scanner scanner(db, progress);
    const int count = scanner.ok() ? scanner.Scan(path, parent_path) : 0;
    if (!scanner.Finish(report, scanner.ok())) return std::nullopt;
    return count;
}

std::int32_t RootCustomFolderKind(const ChartRecord& r) {
    if (r.tag == "__NEWSONG__") return 3;
    if (r.tag == "__RIVAL__") return 4;
    if (r.tag == "__EXPERT__" || r.tag == "__NONSTOP__" || r.tag == "__GRADE__") return 6;
    return 2;
}

// One transaction: the root's row, then (only when that row is new) every
// row below it. Any failed write, a failed commit or a stop request rolls
// all of it back, so a root is either registered whole or not at all.
bool RegisterRootFolder(Database& db, const WinPath& path_path, Progress* progress,
                        LibraryReport& report) {
    const std::string& path = path_path.text();
    BusyReporting busy(db, progress);
    Transaction tx(db);
    if (!tx.ok()) return ReportError(report, db.LastError());
    const auto time = WriteTime(path);
    if (!time) {
        report.missing.push_back(path);
        return true;
    }
    const std::int32_t date = LibraryTime(*time);
    const std::int32_t now = LibraryTimeNow();
    Scanner scanner(db, progress);
    if (!scanner.ok()) return scanner.Finish(report, false);
    const std::string name = path_path.LastName();
    if (IsDirectory(path)) {
        Scanner::Insert inserted;
        if (const auto info = FindIgnoringCase(path + "folderinfo.txt")) {
            ChartRecord r;
            ReadChartHeader(r, *info);
            inserted = scanner.InsertInfoFolder(path, r, kRootKey, date, r.judge == 2 ? 2 : 1, now);
        } else {
            inserted = scanner.InsertPlainFolder(path, name, kRootKey, date, now);
        }
        if (inserted == Scanner::Insert::Added) scanner.Scan(path, path);
    } else if (IsCustomFolderName(name)) {
        ChartRecord r;
        ReadChartHeader(r, path);
        scanner.InsertInfoFolder(path, r, kRootKey, date, RootCustomFolderKind(r), now);
    }
    if (!scanner.ok() || scanner.CheckStop()) return scanner.Finish(report, false);
    if (!tx.Commit()) return ReportError(report, db.LastError());
    return scanner.Finish(report, true);
}

bool ScanParentFolder(Database& db, const WinPath& path_path, Progress* progress,
                      LibraryReport& report) {
    const std::string& path = path_path.text();
    BusyReporting busy(db, progress);
    Transaction tx(db);
    if (!tx.ok()) return ReportError(report, db.LastError());
    const std::string parent = ParentPath(path);
    if (!ScanFolder(db, WinPath(parent), WinPath(parent), progress, report)) return false;
    if (!tx.Commit()) return ReportError(report, db.LastError());
    return true;
}

}  // namespace qv5
