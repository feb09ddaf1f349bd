// The scanner's prepared statements, shared with the refresh.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "library/chart_pipeline.h"
#include "library/chart_record.h"
#include "library/library_report.h"
#include "library/path_set.h"
#include "library/subfolder_rule.h"
#include "platform/database.h"
#include "platform/file_identity.h"
#include "platform/files.h"
#include "platform/progress.h"

namespace qv5 {

// The kind of the folder row of a custom-folder file registered as a song
// folder itself: its #TAG may make it a list of the game's own; inside a
// song folder every such file is kind 2.
std::int32_t RootCustomFolderKind(const ChartRecord& r);

class Scanner {
  public:
    // `progress` (may be null) hears of every chart read, counted per scanner.
    explicit Scanner(Database& db, Progress* progress = nullptr);
    ~Scanner();

    // False once a statement failed or the progress asked to stop; the work
    // done since must then be rolled back. Scan returns at once when false.
    bool ok() const { return !failed_ && !stopped_; }
    // Fills `report` from this scanner's state; `result` is returned.
    bool Finish(LibraryReport& report, bool result) const;
    // True (and the scanner no longer ok) when the progress asks to stop.
    bool CheckStop();

    // Walks the tree depth-first in listing order: folder rows as it goes,
    // charts read ahead on worker threads and stored in walk order. Every
    // chart read is stored (or the scanner is no longer ok) on return,
    // unless FlushLater() was called.
    // `listed`: the folder's entries when the caller has listed it already.
    int Scan(const std::string& path, const std::string& parent_path,
             const std::vector<DirEntry>* listed = nullptr);
    // Scans leave the charts still being read to later scans and to the
    // caller's Flush(): their rows go in in the same order, while the
    // reading goes on beside the next folders.
    void FlushLater() { flush_each_scan_ = false; }
    // Reads a chart ahead and inserts its row (with `date` and `adddate`)
    // when its turn comes; Flush() stores all of them. False when not ok.
    void ReadAndInsert(const std::string& path, std::int32_t date, std::int32_t adddate);
    bool Flush();

    // A row either is added, exists already (its primary key is taken, which
    // the scan expects), or the write failed (the scanner is then not ok).
    enum class Insert { Added, Exists, Failed };
    // Statement 1 (folder with information file), 2 (custom-folder file
    // inside a tree) or the root form of 1 with an explicit kind.
    Insert InsertInfoFolder(const std::string& path, const ChartRecord& r,
                            const std::string& parent_key, std::int32_t date, std::int32_t kind,
                            std::int32_t adddate);
    Insert InsertPlainFolder(const std::string& path, const std::string& title,
                             const std::string& parent_key, std::int32_t date,
                             std::int32_t adddate);
    Insert InsertChart(const std::string& path, const ChartRecord& r, std::int32_t date,
                       std::int32_t adddate);
    // Whether a chart row this scanner inserted has no difficulty in 0-5 yet
    // (what the difficulty pass assigns).
    bool inserted_unknown_difficulty() const { return unknown_difficulty_; }
    bool SongExists(const std::string& path);
    bool FolderExists(const std::string& path);
    // The paths of every row that a scan may look up (a refresh has them
    // at hand): existence is then asked of these sets, kept in step with
    // what this scanner adds, instead of the database. Not owned.
    void KnowRows(PathSet* songs, PathSet* folders) {
        known_songs_ = songs;
        known_folders_ = folders;
    }

  private:
    int Walk(const std::string& path, const std::string& parent_path,
             const std::vector<DirEntry>* listed);
    void ReadChart(ChartJob job);
    void Collect(bool all);
    void Store(ChartJob& job);
    // False (and counted) when the directory `sub` is not to be walked
    // from this path (SubfolderRule).
    bool FirstPath(const std::string& sub, const std::optional<EntryFacts>& facts);
    // The registered root that holds the folder being scanned (the folder
    // itself when none does).
    const std::string& Tree();
    void Report(const std::string& item);
    Insert Result(int rc);
    bool Fits(const std::string& path, const std::string& name);
    Insert InsertSubfolder(const std::string& sub, const std::string& name,
                           const std::string& parent_key, std::int32_t date, std::int32_t now,
                           const std::vector<DirEntry>* entries);
    Database& db_;
    Progress* progress_;
    std::unique_ptr<ChartPipeline> pipeline_;
    PathSet *known_songs_ = nullptr, *known_folders_ = nullptr;
    std::string top_, current_;
    // Which sub-folders the walks enter; it remembers every directory this
    // scanner walked, whatever the path to it.
    SubfolderRule rule_{[this]() -> const std::string& { return Tree(); }};
    long repeated_ = 0;
    std::string tree_;
    bool flush_each_scan_ = true;
    long charts_read_ = 0;
    long too_long_ = 0;
    bool failed_ = false, stopped_ = false, unknown_difficulty_ = false;
    std::string error_;
    Statement info_folder_, plain_folder_, song_, song_exists_, folder_exists_;
};

// `path` as the file system spells it when an entry matches it ignoring
// case: the exact spelling first, otherwise the first such entry of its
// folder (of `entries` when the folder is listed already).
std::optional<std::string> FindIgnoringCase(const std::string& path,
                                            const std::vector<DirEntry>* entries = nullptr);

}  // namespace qv5
