// Extraction of one archive into a song folder, entry by entry. Every file
// is created exclusively, below the destination only, and remembered, so that
// a failure or a stop can take back all of this extraction and nothing else.
#include <errno.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <set>

#include "install/archive.h"
#include "install/archive_reader.h"
#include "install/block_writer.h"
#include "install/entry_path.h"
#include "install/rar5_scan.h"
#include "platform/exclusive_files.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "platform/progress.h"
#include "platform/test_pause.h"
#include "platform/text.h"
#include "platform/tr.h"
#include "platform/win_path.h"

namespace qv5 {

namespace {

std::string Reason(int error) {
    return Utf8ToCp932Lossy(std::strerror(error));
}

std::string ShowBytes(std::int64_t bytes) {
    char text[32];
    if (bytes >= 1024 * 1024)
        std::snprintf(text, sizeof text, "%.1f MB", static_cast<double>(bytes) / (1024 * 1024));
    else
        std::snprintf(text, sizeof text, "%lld KB", static_cast<long long>((bytes + 1023) / 1024));
    return text;
}

class Extractor {
  public:
    Extractor(ExtractReport& report, const ExtractOptions& options, Progress* progress)
        : report_(report), options_(options), progress_(progress) {}

    bool Run(ArchiveKind kind, const ExtractCommand& command);

  private:
    enum class Made { Yes, Skip, Fatal };

    bool Fail(const std::string& text) {
        report_.error = text;
        return false;
    }
    bool FailWrite(const std::string& path, int error) {
        return Fail(Tr("Extract",
                       "ファイルを書き込めません。この書庫から展開したファイルは削除しました。\n") +
                    path + "\n" + Reason(error));
    }
    bool FailNoSpace(ArchiveReader& reader, std::int64_t entry_size);
    Made MakeFolders(const std::vector<std::string>& parts, size_t count);
    Made WriteFile(ArchiveReader& reader, const std::vector<std::string>& parts);
    bool ExtractEntry(ArchiveReader& reader);
    bool CreateDestination();

    std::string InternalPath(const std::vector<std::string>& parts, size_t count) const {
        std::string p = dest_;
        for (size_t i = 0; i < count; ++i) p = WinPath(p).Join(parts[i]).text();
        return p;
    }

    ExtractReport& report_;
    const ExtractOptions& options_;
    Progress* progress_;
    std::string dest_;
    std::int64_t bomb_left_ = INT64_MAX;   // what max_bytes still allows
    std::int64_t space_left_ = INT64_MAX;  // free space, less what was written
    std::int64_t free_at_start_ = INT64_MAX;
    std::int64_t block_size_ = 4096;
    // Windows, and the game under Wine, find names ignoring case: an entry
    // "Song/a.wav" belongs in the folder "SONG" that is there already, and a
    // file "A.WAV" beside it is the file "a.wav".
    void ResolveCase(std::vector<std::string>& parts);
    void Remember(const std::vector<std::string>& parts, size_t n);
    std::map<std::string, std::string>& Listing(const std::string& folder);

    std::set<std::string> folders_;  // internal paths known to be folders
    std::set<std::string> cleaned_;  // folders whose leftovers were removed
    std::map<std::string, std::map<std::string, std::string>> listings_;  // folded -> on disk
    BlockWriter writer_;
    long entries_ = 0;
};

bool Extractor::CreateDestination() {
    if (!ToHostPath(dest_)) return Fail(Tr("Extract", "展開先のフォルダを作れません。\n") + dest_);
    // Each missing folder of the destination is made and remembered.
    std::string internal;
    size_t i = 0;
    const std::string& d = dest_;
    while (i <= d.size()) {
        size_t next = i;
        while (next < d.size() && d[next] != '\\')
            next += IsLeadByte(static_cast<unsigned char>(d[next])) ? 2 : 1;
        internal = d.substr(0, std::min(next, d.size()));
        i = next + 1;
        if (internal.empty() || (internal.size() == 2 && internal[1] == ':')) continue;
        if (!ToHostPath(internal))
            return Fail(Tr("Extract", "展開先のフォルダを作れません。\n") + dest_);
        if (const EntryKind kind = KindFollowingLinks(internal); kind != EntryKind::None) {
            if (kind != EntryKind::Folder)
                return Fail(Tr("Extract", "展開先のフォルダを作れません。\n") + dest_);
            continue;
        }
        if (const int e = MakeFolder(internal); e != 0)
            return Fail(Tr("Extract", "展開先のフォルダを作れません。\n") + dest_ + "\n" +
                        Reason(e));
        report_.created.push_back({internal, true});
        ++report_.folders;
    }
    if (const auto space = FreeSpaceAt(dest_)) {
        free_at_start_ = space->bytes;
        if (space->block_size > 0) block_size_ = space->block_size;
    }
    space_left_ = free_at_start_;
    report_.max_bytes = options_.max_bytes;
    if (options_.max_bytes >= 0) bomb_left_ = options_.max_bytes;
    folders_.insert(dest_);
    return true;
}

std::map<std::string, std::string>& Extractor::Listing(const std::string& folder) {
    auto it = listings_.find(folder);
    if (it != listings_.end()) return it->second;
    auto& names = listings_[folder];
    std::vector<DirEntry> entries;
    ListFolder(WinPath(folder).AsFolder().text(), entries, ListDetail::NamesAndKinds);
    for (const DirEntry& e : entries) names.emplace(LowerAscii(e.name), e.name);
    return names;
}

void Extractor::ResolveCase(std::vector<std::string>& parts) {
    std::string folder = dest_;
    for (std::string& part : parts) {
        auto& names = Listing(folder);
        auto found = names.find(LowerAscii(part));
        if (found != names.end()) part = found->second;
        folder = WinPath(folder).Join(part).text();
    }
}

void Extractor::Remember(const std::vector<std::string>& parts, size_t n) {
    Listing(InternalPath(parts, n - 1)).emplace(LowerAscii(parts[n - 1]), parts[n - 1]);
}

// Makes the first `count` parts as folders below the destination.
Extractor::Made Extractor::MakeFolders(const std::vector<std::string>& parts, size_t count) {
    for (size_t n = 1; n <= count; ++n) {
        const std::string internal = InternalPath(parts, n);
        if (folders_.count(internal)) continue;
        if (!ToHostPath(internal)) return Made::Skip;
        if (const EntryKind kind = KindOf(internal); kind != EntryKind::None) {
            // A file (or anything but a folder) of that name stays as it is.
            if (kind != EntryKind::Folder) {
                ++report_.kept;
                return Made::Skip;
            }
        } else if (const int e = MakeFolder(internal); e == 0) {
            Remember(parts, n);
            report_.created.push_back({internal, true});
            ++report_.folders;
        } else if (e == ENAMETOOLONG) {
            ++report_.too_long;
            return Made::Skip;
        } else {
            FailWrite(internal, e);
            return Made::Fatal;
        }
        folders_.insert(internal);
    }
    return Made::Yes;
}

// What the rest of the archive declares, and so how much space the whole
// extraction needs beyond what the disk had: the failure says how much is
// missing, not only that something is.
bool Extractor::FailNoSpace(ArchiveReader& reader, std::int64_t entry_size) {
    auto on_disk = [&](std::int64_t size) {
        return size <= 0 ? 0 : (size + block_size_ - 1) / block_size_ * block_size_;
    };
    std::int64_t needed = free_at_start_ - space_left_ + on_disk(entry_size);
    while (reader.Next() == ArchiveReader::Step::Entry)
        if (reader.type() == EntryType::File) needed += on_disk(reader.declared_size());
    const std::int64_t missing = std::max(needed - free_at_start_, block_size_);
    report_.no_space = true;
    return Fail(Tr("Extract",
                   "空き容量が足りないため、展開できません。この書庫から展開したファイルは"
                   "削除しました。\n") +
                dest_ + "\n" +
                Arg(Tr("Extract", "足りない容量: %1 (必要: %2、空き: %3)"),
                    {ShowBytes(missing), ShowBytes(needed), ShowBytes(free_at_start_)}));
}

Extractor::Made Extractor::WriteFile(ArchiveReader& reader, const std::vector<std::string>& parts) {
    const Made folders = MakeFolders(parts, parts.size() - 1);
    if (folders != Made::Yes) return folders;
    const std::string internal = InternalPath(parts, parts.size());
    if (!ToHostPath(internal)) return Made::Skip;
    if (KindOf(internal) != EntryKind::None) {
        ++report_.kept;
        return Made::Skip;
    }
    if (errno == ENAMETOOLONG) {
        ++report_.too_long;
        return Made::Skip;
    }
    const std::int64_t declared = reader.declared_size();
    if (declared > bomb_left_) {
        ++report_.too_large;
        return Made::Skip;
    }
    if (declared > space_left_) {
        FailNoSpace(reader, declared);
        return Made::Fatal;
    }
    const std::string folder = InternalPath(parts, parts.size() - 1);
    if (cleaned_.insert(folder).second) RemoveUnheldTemporaries(folder);
    // Written under a temporary name of its own (see LockedTemporary), it
    // gets its name only when complete.
    LockedTemporary temp;
    if (!temp.Create(folder)) {
        FailWrite(internal, errno);
        return Made::Fatal;
    }
    report_.created.push_back({temp.path(), false});
    std::int64_t written = 0;
    writer_.Begin(temp.fd());
    auto drop = [&] {
        writer_.Finish();
        temp.Remove();
        report_.created.pop_back();
    };
    auto no_space = [](int e) { return e == ENOSPC || e == EDQUOT; };
    for (;;) {
        if (progress_ && progress_->StopRequested()) {
            drop();
            report_.stopped = true;
            return Made::Fatal;
        }
        const void* data = nullptr;
        size_t size = 0;
        std::int64_t offset = 0;
        const int r = reader.ReadBlock(&data, &size, &offset);
        if (r == 0) break;
        if (r < 0) {
            drop();
            Fail(Tr("Extract", "書庫を読み込めません。壊れているか、対応していない形式です。\n") +
                 internal + "\n" + reader.error());
            return Made::Fatal;
        }
        // What the entry really holds counts, not what its header claimed.
        const auto block = static_cast<std::int64_t>(size);
        if (offset < 0 || block > bomb_left_ || offset > bomb_left_ - block) {
            drop();
            ++report_.too_large;
            return Made::Skip;
        }
        if (block > space_left_ || offset > space_left_ - block) {
            drop();
            FailNoSpace(reader, std::max(declared, offset + block));
            return Made::Fatal;
        }
        if (!writer_.Put(data, size, offset)) break;  // a write failed: Finish() says why
        PauseAt("extract-block");
        written = std::max(written, offset + block);
    }
    if (const int e = writer_.Finish(); e != 0) {
        drop();
        if (no_space(e))
            FailNoSpace(reader, std::max(declared, written));
        else
            FailWrite(internal, e);
        return Made::Fatal;
    }
    if (reader.mtime()) temp.SetTimes(*reader.mtime());
    if (const int e = temp.Close(); e != 0) {
        temp.Remove();
        report_.created.pop_back();
        if (no_space(e))
            FailNoSpace(reader, written);
        else
            FailWrite(internal, e);
        return Made::Fatal;
    }
    // Complete: only now does the entry get its name.
    const int renamed = RenameNoReplace(temp.path(), internal);
    if (renamed != 0) {
        temp.Remove();
        report_.created.pop_back();
        if (renamed == EEXIST) {  // made meanwhile by someone else: theirs stays
            ++report_.kept;
            return Made::Skip;
        }
        FailWrite(internal, renamed);
        return Made::Fatal;
    }
    report_.created.back() = {internal, false};
    Remember(parts, parts.size());
    PauseAt("extract-file");
    bomb_left_ -= written;
    space_left_ -= written;
    report_.bytes += written;
    ++report_.files;
    return Made::Yes;
}

bool Extractor::ExtractEntry(ArchiveReader& reader) {
    if (!reader.name()) {
        ++report_.unnamable;
        return true;
    }
    if (reader.type() == EntryType::Link || reader.type() == EntryType::Special) {
        ++report_.links;
        return true;
    }
    if (reader.encrypted()) {
        report_.encrypted = true;
        return Fail(Tr("Extract", "暗号化された書庫は展開できません。"));
    }
    auto parts = SafeEntryParts(*reader.name());
    if (!parts) {
        ++report_.unsafe;
        return true;
    }
    if (parts->empty()) return true;
    ResolveCase(*parts);
    const Made made = reader.type() == EntryType::Folder ? MakeFolders(*parts, parts->size())
                                                         : WriteFile(reader, *parts);
    if (made == Made::Fatal) return false;
    if (progress_) {
        progress_->Update(++entries_, -1, InternalPath(*parts, parts->size()));
        progress_->SetStatus(std::to_string(report_.bytes / 1024) + " KB");
    }
    return true;
}

bool Extractor::Run(ArchiveKind kind, const ExtractCommand& command) {
    dest_ = command.destination;
    auto host = ToHostPath(command.archive);
    if (!host || !IsReadable(command.archive))
        return Fail(Tr("Extract", "書庫を開けません。\n") + command.archive);
    if (kind == ArchiveKind::Rar && Rar5HoldsEncryption(*host)) {
        report_.encrypted = true;
        return Fail(Tr("Extract", "暗号化された書庫は展開できません。"));
    }
    ArchiveReader reader;
    if (!reader.Open(kind, *host))
        return Fail(
            Tr("Extract", "書庫を読み込めません。壊れているか、対応していない形式です。\n") +
            command.archive + "\n" + reader.error());
    if (!CreateDestination()) return false;
    for (;;) {
        if (progress_ && progress_->StopRequested()) {
            report_.stopped = true;
            return false;
        }
        const ArchiveReader::Step step = reader.Next();
        if (step == ArchiveReader::Step::End) return true;
        if (step == ArchiveReader::Step::Failed)
            return Fail(
                Tr("Extract", "書庫を読み込めません。壊れているか、対応していない形式です。\n") +
                command.archive + "\n" + reader.error());
        if (!ExtractEntry(reader)) return false;
    }
}

}  // namespace

int ExtractArchive(ArchiveKind kind, const std::string& command_line, ExtractReport& report,
                   const ExtractOptions& options, Progress* progress) {
    if (!ArchiveKindReadable(kind)) return 0;
    auto command = ParseExtractCommand(command_line);
    if (!command) {
        report.error = Tr("Extract", "展開のコマンドが正しくありません。\n") + command_line;
        return 2;
    }
    Extractor extractor(report, options, progress);
    if (extractor.Run(kind, *command)) return 1;
    UndoExtraction(report);
    return 2;
}

void UndoExtraction(ExtractReport& report) {
    for (auto it = report.created.rbegin(); it != report.created.rend(); ++it) {
        // A folder another install has put files in meanwhile stays.
        const int gone = it->folder ? RemoveEmptyFolder(it->path) : RemoveFile(it->path);
        if (gone == 0 || gone == ENOENT) report.taken_back.push_back(*it);
    }
    report.created.clear();
}

}  // namespace qv5
