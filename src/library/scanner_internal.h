// The scanner's prepared statements, shared with the refresh.
#pragma once

#include <string>

#include "library/chart_record.h"
#include "platform/database.h"
#include "platform/files.h"
#include "platform/progress.h"

namespace qv5 {

class Scanner {
  public:
    // `progress` (may be null) hears of every chart read, counted per scanner.
    explicit Scanner(Database& db, Progress* progress = nullptr);
    int Scan(const std::string& path, const std::string& parent_path);
    // Statement 1 (folder with information file), 2 (custom-folder file
    // inside a tree) or the root form of 1 with an explicit kind.
    bool InsertInfoFolder(const std::string& path, const ChartRecord& r,
                          const std::string& parent_key, std::int32_t date, std::int32_t kind,
                          std::int32_t adddate);
    bool InsertPlainFolder(const std::string& path, const std::string& title,
                           const std::string& parent_key, std::int32_t date, std::int32_t adddate);
    bool InsertChart(const std::string& path, const ChartRecord& r, std::int32_t date,
                     std::int32_t adddate);
    bool SongExists(const std::string& path);
    bool FolderExists(const std::string& path);

  private:
    void Report(const std::string& item);
    bool InsertSubfolder(const std::string& sub, const std::string& name,
                         const std::string& parent_key, std::int32_t date, std::int32_t now);
    Progress* progress_;
    long charts_read_ = 0;
    Statement info_folder_, plain_folder_, song_, song_exists_, folder_exists_;
};

}  // namespace qv5
