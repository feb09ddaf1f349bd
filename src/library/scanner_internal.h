// The scanner's prepared statements, shared with the refresh.
#pragma once

#include <string>

#include "library/chart_record.h"
#include "library/library_report.h"
#include "platform/database.h"
#include "platform/files.h"
#include "platform/progress.h"

namespace qv5 {

class Scanner {
  public:
    // `progress` (may be null) hears of every chart read, counted per scanner.
    explicit Scanner(Database& db, Progress* progress = nullptr);

    // False once a statement failed or the progress asked to stop; the work
    // done since must then be rolled back. Scan returns at once when false.
    bool ok() const { return !failed_ && !stopped_; }
    // Fills `report` from this scanner's state; `result` is returned.
    int Finish(LibraryReport* report, int result) const;
    // True (and the scanner no longer ok) when the progress asks to stop.
    bool CheckStop();

    int Scan(const std::string& path, const std::string& parent_path);

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
    bool SongExists(const std::string& path);
    bool FolderExists(const std::string& path);

  private:
    void Report(const std::string& item);
    Insert Result(int rc);
    bool Fits(const std::string& path, const std::string& name);
    Insert InsertSubfolder(const std::string& sub, const std::string& name,
                           const std::string& parent_key, std::int32_t date, std::int32_t now);
    Database& db_;
    Progress* progress_;
    long charts_read_ = 0;
    long too_long_ = 0;
    bool failed_ = false, stopped_ = false;
    std::string error_;
    Statement info_folder_, plain_folder_, song_, song_exists_, folder_exists_;
};

}  // namespace qv5
