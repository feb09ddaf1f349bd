// The file-system half of a refresh, done on worker threads while the
// refresh reads and writes the library: the write time of every chart row
// and the listing of every folder row. Neither depends on the library's
// changes, so they run ahead; the refresh still applies everything in its
// own order.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "platform/files.h"

namespace qv5 {

struct SongRow {
    std::string path;
    std::int32_t adddate = 0, difficulty = 0;
    std::optional<FileTime> time;  // none: the chart is gone
};

struct FolderRow {
    std::string path, parent;
};

struct FolderListing {
    bool listed = false;  // false: no folder to list (the time is then asked apart)
    FileTime time;
    std::vector<DirEntry> entries;
};

class FileLookups {
  public:
    // `folders` must outlive this unchanged. Rows whose parent key is
    // `unlisted_parent` (the roots, which list themselves) are not listed.
    FileLookups(const std::vector<FolderRow>& folders, std::string unlisted_parent,
                unsigned threads);
    ~FileLookups();
    FileLookups(const FileLookups&) = delete;
    FileLookups& operator=(const FileLookups&) = delete;

    // Queues chart rows (sorted by path) for their write times, ahead of
    // any listing still to make.
    void AddSongs(std::vector<SongRow> rows);
    // Every row queued, timed; this thread helps with what is left. Asked
    // once, after the last AddSongs.
    std::deque<std::vector<SongRow>>& TimedSongs();
    // The listing of folders[i], made here when no worker has taken it yet.
    // Asked in order, each once; the one asked before is given back.
    const FolderListing& Folder(size_t i);

  private:
    void Work();
    void List(size_t begin, size_t end);
    // Under the lock: times the next queued batch of rows, unlocking
    // meanwhile; false when none is queued.
    bool TimeNextSongs(std::unique_lock<std::mutex>& lock);

    const std::vector<FolderRow>& folders_;
    const std::string unlisted_parent_;
    std::vector<FolderListing> listings_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<std::vector<SongRow>> songs_;
    size_t next_songs_ = 0, songs_busy_ = 0;
    std::vector<char> listed_;  // per folder: its listing is made
    size_t next_folder_ = 0, asked_ = 0;
    bool stop_ = false;
    std::vector<std::thread> threads_;
};

}  // namespace qv5
