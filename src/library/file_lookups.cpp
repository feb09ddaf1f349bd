#include "library/file_lookups.h"

#include <algorithm>

#include "platform/file_identity.h"

namespace qv5 {
namespace {

// Folders a worker takes at once, and how far ahead of the refresh the
// listings may run (what bounds their memory).
constexpr size_t kFolderClaim = 8;
constexpr size_t kFoldersAhead = 512;

}  // namespace

FileLookups::FileLookups(const std::vector<FolderRow>& folders, std::string unlisted_parent,
                         unsigned threads)
    : folders_(folders),
      unlisted_parent_(std::move(unlisted_parent)),
      listings_(folders.size()),
      listed_(folders.size(), 0) {
    for (unsigned i = 0; i < threads; ++i) {
        try {
            threads_.emplace_back([this] { Work(); });
        } catch (...) {
            break;  // fewer helpers: the refresh's own thread does the rest
        }
    }
}

FileLookups::~FileLookups() {
    {
        std::lock_guard lock(mutex_);
        stop_ = true;
    }
    changed_.notify_all();
    for (std::thread& t : threads_) t.join();
}

void FileLookups::AddSongs(std::vector<SongRow> rows) {
    {
        std::lock_guard lock(mutex_);
        songs_.push_back(std::move(rows));
    }
    changed_.notify_all();
}

bool FileLookups::TimeNextSongs(std::unique_lock<std::mutex>& lock) {
    if (next_songs_ >= songs_.size()) return false;
    // An element of a deque stays where it is while others are added.
    std::vector<SongRow>& rows = songs_[next_songs_++];
    ++songs_busy_;
    lock.unlock();
    WriteTimes times;  // sorted rows: each folder opened once
    for (SongRow& r : rows) r.time = times.Of(r.path);
    lock.lock();
    --songs_busy_;
    changed_.notify_all();
    return true;
}

std::deque<std::vector<SongRow>>& FileLookups::TimedSongs() {
    std::unique_lock lock(mutex_);
    while (TimeNextSongs(lock)) {
    }
    changed_.wait(lock, [this] { return songs_busy_ == 0; });
    return songs_;
}

void FileLookups::List(size_t begin, size_t end) {
    for (size_t i = begin; i < end; ++i) {
        if (folders_[i].parent == unlisted_parent_) continue;
        FolderListing& l = listings_[i];
        l.listed = ListFolder(folders_[i].path, l.entries, ListDetail::NamesAndKinds, &l.time);
    }
}

void FileLookups::Work() {
    std::unique_lock lock(mutex_);
    while (!stop_) {
        if (TimeNextSongs(lock)) continue;
        const size_t limit = std::min(folders_.size(), asked_ + kFoldersAhead);
        if (next_folder_ < limit) {
            const size_t begin = next_folder_;
            const size_t end = std::min(limit, begin + kFolderClaim);
            next_folder_ = end;
            lock.unlock();
            List(begin, end);
            lock.lock();
            std::fill(listed_.begin() + begin, listed_.begin() + end, 1);
            changed_.notify_all();
            continue;
        }
        changed_.wait(lock);
    }
}

const FolderListing& FileLookups::Folder(size_t i) {
    std::unique_lock lock(mutex_);
    if (i > 0) listings_[i - 1] = FolderListing{};
    // Workers held back by how far ahead they may list can go on now.
    const size_t held_at = std::min(folders_.size(), asked_ + kFoldersAhead);
    asked_ = i;
    if (next_folder_ == held_at && next_folder_ < folders_.size()) changed_.notify_all();
    if (!listed_[i] && next_folder_ <= i) {
        const size_t begin = next_folder_;
        next_folder_ = i + 1;
        lock.unlock();
        List(begin, i + 1);
        lock.lock();
        std::fill(listed_.begin() + begin, listed_.begin() + i + 1, 1);
        changed_.notify_all();
    }
    changed_.wait(lock, [&] { return listed_[i] != 0; });
    return listings_[i];
}

}  // namespace qv5
