// The charts of song.db by their hash, for the difficulty tables: read once
// and matched in memory, so that no text of a table reaches a statement.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/database.h"

namespace qv5 {

// An md5 as its 16 bytes: what tables and the library are matched by.
struct Md5Key {
    std::uint64_t hi = 0, lo = 0;
    bool operator==(const Md5Key&) const = default;
};
// 32 hexadecimal digits of either case; nullopt for anything else.
std::optional<Md5Key> ParseMd5(std::string_view hex);

// The player's score of a chart as the tables show it: the lamp (the score
// row's clear, below 1 not played, 1 failed .. 5 full combo) and the EX
// score's percent of the maximum, -1 when not played.
struct ChartScore {
    std::int8_t clear = 0;
    std::int16_t rate = -1;
};

// The song rows' paths (CP932, as stored) under their hash. An open-address
// table over the keys themselves (an md5 is evenly spread already), with
// the paths of one hash chained in the order they came: a look-up is a
// probe or two in one block of memory, and tens of thousands of them cost
// less than reading the rows.
class ChartHashes {
  public:
    ChartHashes() = default;
    ChartHashes(std::initializer_list<std::pair<std::string, std::vector<std::string>>> charts);

    // A row; one whose hash is no md5 can be held by nothing and is left out.
    void Add(std::string_view hash, std::string path);
    bool Holds(const Md5Key& key) const { return Find(key) >= 0; }
    // Starts fetching the memory a look-up of `key` reads: a caller about to
    // look up thousands of keys asks for those a few ahead, so that the
    // cache misses of a large library overlap instead of following each
    // other.
    void Prefetch(const Md5Key& key) const {
        if (!slots_.empty()) __builtin_prefetch(&slots_[Home(key)]);
    }
    // The paths under `key`, in the order they were added; empty when none.
    std::vector<std::string> PathsOf(const Md5Key& key) const;
    // The player's score of a held chart; no score row reads as not played.
    void SetScore(const Md5Key& key, ChartScore score);
    ChartScore ScoreOf(const Md5Key& key) const;
    size_t size() const { return used_; }  // distinct hashes
    void clear();

  private:
    struct Slot {
        Md5Key key;
        std::int32_t first = -1, last = -1;  // into paths_; -1: an empty slot
        ChartScore score;
    };
    size_t Home(const Md5Key& key) const {
        return size_t(key.lo ^ (key.hi >> 7)) & (slots_.size() - 1);
    }
    std::int64_t Find(const Md5Key& key) const;
    size_t SlotOf(const Md5Key& key) const;
    void Grow();

    std::vector<Slot> slots_;
    std::vector<std::string> paths_;
    std::vector<std::int32_t> next_;  // the next path of the same hash, -1 at the end
    size_t used_ = 0;
};

// A song row's title and artist (CP932, as stored: the header reader has
// taken a bracketed suffix off the title already) and its path.
struct SongTitleRow {
    std::string title, artist, path;
};

// SongLibrary::ReadSongTitles reads them for every song row;
// SongLibrary::ReadChartHashes fills ChartHashes from every song row, and
// ReadChartScores adds the scores of the player's database.

}  // namespace qv5
