#include "library/library_hashes.h"

#include <algorithm>

#include "library/song_library.h"

namespace qv5 {
namespace {

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

std::optional<Md5Key> ParseMd5(std::string_view hex) {
    if (hex.size() != 32) return std::nullopt;
    Md5Key key;
    for (size_t i = 0; i < 32; ++i) {
        const int d = HexDigit(hex[i]);
        if (d < 0) return std::nullopt;
        std::uint64_t& half = i < 16 ? key.hi : key.lo;
        half = half << 4 | std::uint64_t(d);
    }
    return key;
}

ChartHashes::ChartHashes(
    std::initializer_list<std::pair<std::string, std::vector<std::string>>> charts) {
    for (const auto& [hash, paths] : charts)
        for (const std::string& path : paths) Add(hash, path);
}

size_t ChartHashes::SlotOf(const Md5Key& key) const {
    const size_t mask = slots_.size() - 1;
    size_t i = Home(key);
    while (slots_[i].first >= 0 && !(slots_[i].key == key)) i = (i + 1) & mask;
    return i;
}

std::int64_t ChartHashes::Find(const Md5Key& key) const {
    if (slots_.empty()) return -1;
    return slots_[SlotOf(key)].first;
}

void ChartHashes::Grow() {
    std::vector<Slot> old = std::move(slots_);
    slots_.assign(old.empty() ? 1024 : old.size() * 2, Slot{});
    for (const Slot& s : old)
        if (s.first >= 0) slots_[SlotOf(s.key)] = s;
}

void ChartHashes::Add(std::string_view hash, std::string path) {
    const auto key = ParseMd5(hash);
    if (!key) return;
    // At most half full, so that a probe ends soon.
    if ((used_ + 1) * 2 > slots_.size()) Grow();
    Slot& slot = slots_[SlotOf(*key)];
    const auto index = std::int32_t(paths_.size());
    paths_.push_back(std::move(path));
    next_.push_back(-1);
    if (slot.first < 0) {
        slot.key = *key;
        slot.first = index;
        ++used_;
    } else {
        next_[size_t(slot.last)] = index;
    }
    slot.last = index;
}

std::vector<std::string> ChartHashes::PathsOf(const Md5Key& key) const {
    std::vector<std::string> out;
    for (std::int64_t i = Find(key); i >= 0; i = next_[size_t(i)]) out.push_back(paths_[size_t(i)]);
    return out;
}

void ChartHashes::SetScore(const Md5Key& key, ChartScore score) {
    if (slots_.empty()) return;
    Slot& slot = slots_[SlotOf(key)];
    if (slot.first >= 0) slot.score = score;
}

ChartScore ChartHashes::ScoreOf(const Md5Key& key) const {
    if (slots_.empty()) return {};
    const Slot& slot = slots_[SlotOf(key)];
    return slot.first >= 0 ? slot.score : ChartScore{};
}

void ChartHashes::clear() {
    slots_.clear();
    paths_.clear();
    next_.clear();
    used_ = 0;
}

bool SongLibrary::ReadChartHashes(ChartHashes& out, std::string& error) {
    Database& db = db_;
    out.clear();
    Statement s = db.Prepare("SELECT hash, path FROM song");
    if (!s) {
        error = db.LastError();
        return false;
    }
    while (s.Step()) out.Add(s.Text(0), s.Text(1));
    if (s.Failed()) {
        error = db.LastError();
        return false;
    }
    return true;
}

bool SongLibrary::ReadSongTitles(std::vector<SongTitleRow>& out, std::string& error) {
    Database& db = db_;
    out.clear();
    Statement s = db.Prepare("SELECT title, artist, path FROM song");
    if (!s) {
        error = db.LastError();
        return false;
    }
    while (s.Step()) out.push_back({s.Text(0), s.Text(1), s.Text(2)});
    if (s.Failed()) {
        error = db.LastError();
        return false;
    }
    return true;
}

bool SongLibrary::ReadChartScores(ChartHashes& charts, std::string& error) {
    Database& db = db_;
    if (!db.Prepare("SELECT 1 FROM scoredb.sqlite_master LIMIT 1")) return true;  // no player
    Statement s = db.Prepare("SELECT hash, clear, perfect, great, totalnotes FROM scoredb.score");
    if (!s) {
        error = db.LastError();
        return false;
    }
    while (s.Step()) {
        const auto key = ParseMd5(s.Text(0));
        if (!key || !charts.Holds(*key)) continue;
        // As the information panel's score line: played with a lamp and
        // a note count.
        const std::int64_t clear = s.Int(1), total = s.Int(4);
        ChartScore score;
        score.clear = std::int8_t(std::clamp<std::int64_t>(clear, 0, 5));
        if (clear >= 1 && total >= 1) {
            const std::int64_t ex = 2 * std::int64_t{s.Int(2)} + s.Int(3);
            score.rate = std::int16_t(std::clamp<std::int64_t>(ex * 100 / (2 * total), 0, 32767));
        }
        charts.SetScore(*key, score);
    }
    if (s.Failed()) {
        error = db.LastError();
        return false;
    }
    return true;
}

}  // namespace qv5
