#include "tables/table_store.h"

#include <unistd.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <ctime>

#include "platform/files.h"
#include "platform/text.h"
#include "platform/tr.h"
#include "platform/win_path.h"

namespace qv5 {
namespace {

constexpr const char* kHeaderFile = "header.json";
constexpr const char* kDataFile = "data.json";
constexpr const char* kStateFile = "state.json";
// Folders of a write in progress, and the old copy during a swap done in
// two moves: names no table folder has, as those never start with ".".
constexpr const char* kNewPrefix = ".new-";
constexpr const char* kOldPrefix = ".old-";

std::string NowUtc() {
    const std::time_t now = std::time(nullptr);
    std::tm t{};
    gmtime_r(&now, &t);
    char buf[32];
    std::strftime(buf, sizeof buf, "%Y-%m-%d %H:%M:%S", &t);
    return buf;
}

QString Q(const std::string& utf8) {
    return QString::fromStdString(utf8);
}

std::string S(const QJsonValue& v) {
    return v.toString().toStdString();
}

QJsonArray ChangedJson(const std::vector<ChangedEntry>& list, bool moved) {
    QJsonArray a;
    for (const ChangedEntry& e : list) {
        QJsonObject o{{"md5", Q(e.md5)}, {"title", Q(e.title)}, {"level", Q(e.level)}};
        if (moved) o.insert("from", Q(e.from));
        a.append(o);
    }
    return a;
}

std::vector<ChangedEntry> ChangedFrom(const QJsonValue& v) {
    std::vector<ChangedEntry> out;
    for (const QJsonValue& item : v.toArray()) {
        const QJsonObject o = item.toObject();
        out.push_back(
            {S(o.value("md5")), S(o.value("title")), S(o.value("level")), S(o.value("from"))});
    }
    return out;
}

std::string StateJson(const KeptTable& t) {
    QJsonObject changes{{"first", t.changes.first},
                        {"added", ChangedJson(t.changes.added, false)},
                        {"removed", ChangedJson(t.changes.removed, false)},
                        {"moved", ChangedJson(t.changes.moved, true)}};
    QJsonObject o{
        {"source", Q(t.source)},     {"page_url", Q(t.page_url)}, {"header_url", Q(t.header_url)},
        {"data_url", Q(t.data_url)}, {"added", Q(t.added)},       {"updated", Q(t.updated)},
        {"changes", changes}};
    return QJsonDocument(o).toJson(QJsonDocument::Indented).toStdString();
}

bool ReadState(std::string_view bytes, KeptTable& t) {
    QJsonParseError e{};
    const QJsonDocument doc =
        QJsonDocument::fromJson(QByteArray(bytes.data(), qsizetype(bytes.size())), &e);
    if (e.error != QJsonParseError::NoError || !doc.isObject()) return false;
    const QJsonObject o = doc.object();
    t.source = S(o.value("source"));
    t.page_url = S(o.value("page_url"));
    t.header_url = S(o.value("header_url"));
    t.data_url = S(o.value("data_url"));
    t.added = S(o.value("added"));
    t.updated = S(o.value("updated"));
    const QJsonObject c = o.value("changes").toObject();
    t.changes.first = c.value("first").toBool(true);
    t.changes.added = ChangedFrom(c.value("added"));
    t.changes.removed = ChangedFrom(c.value("removed"));
    t.changes.moved = ChangedFrom(c.value("moved"));
    return !t.source.empty();
}

// The folder's files, then the folder: a table folder holds files only.
bool DeleteFolder(const WinPath& folder) {
    std::vector<DirEntry> entries;
    if (!ListFolder(folder.text(), entries, ListDetail::NamesAndKinds))
        return !PathExists(folder.text());
    bool ok = true;
    for (const DirEntry& e : entries) ok = DeletePath(folder.Join(e.name).AsFile().text()) && ok;
    return DeletePath(folder.AsFile().text()) && ok;
}

std::string SystemError(const std::string& what) {
    return what + ": " + Utf8ToCp932Lossy(std::strerror(errno));
}

bool ReadData(KeptTable& t, std::string& error) {
    std::string data;
    if (!ReadWholeFile(WinPath(t.folder).Join(kDataFile).text(), data)) {
        error = Tr("Tables", "header.json、data.json、state.json のどれかを読めません。");
        return false;
    }
    t.data = TableData();
    if (!ReadTableData(data, t.data, error)) return false;
    t.data_read = true;
    return true;
}

bool ReadKept(const WinPath& folder, bool with_data, KeptTable& t, std::string& error) {
    t.folder = folder.AsFolder().text();
    std::string header, state;
    if (!ReadWholeFile(folder.Join(kHeaderFile).text(), header) ||
        !ReadWholeFile(folder.Join(kStateFile).text(), state) ||
        (!with_data && !PathExists(folder.Join(kDataFile).text()))) {
        error = Tr("Tables", "header.json、data.json、state.json のどれかを読めません。");
        return false;
    }
    if (!ReadTableHeader(header, t.header, error)) return false;
    t.data_read = false;
    if (with_data && !ReadData(t, error)) return false;
    if (!ReadState(state, t)) {
        error = Tr("Tables", "state.json が正しくありません。");
        return false;
    }
    return true;
}

bool IsDeviceName(std::string name) {
    name = name.substr(0, name.find('.'));
    LowerAsciiInPlace(name);
    if (name == "con" || name == "prn" || name == "aux" || name == "nul") return true;
    return name.size() == 4 && (name.starts_with("com") || name.starts_with("lpt")) &&
           name[3] >= '1' && name[3] <= '9';
}

// The fresh folder a write goes into.
std::optional<WinPath> MakeNewFolder(std::string& error) {
    static int serial = 0;
    for (int attempt = 0; attempt < 100; ++attempt) {
        const WinPath folder =
            WinPath(kTablesFolder)
                .Join(std::string(kNewPrefix) + std::to_string(::getpid()) + "-" +
                      std::to_string(++serial) + "-" + std::to_string(std::time(nullptr)));
        if (CreateFolder(folder.text())) return folder.AsFolder();
        if (errno != EEXIST) break;
    }
    error = SystemError(
        Arg(Tr("Tables", "%1 にフォルダーを作れません"), {HostPathForMessage(kTablesFolder)}));
    return std::nullopt;
}

// The new folder in the place of the old, in one step where the file system
// can swap them, else in two moves that put the old copy back on a failure.
bool Replace(const WinPath& fresh, const WinPath& old, std::string& error) {
    if (ExchangePaths(fresh.AsFile().text(), old.AsFile().text())) {
        DeleteFolder(fresh);  // now the old copy
        return true;
    }
    if (errno != EINVAL && errno != ENOSYS) {
        error = SystemError(HostPathForMessage(old.text()));
        return false;
    }
    const WinPath backup = WinPath(kTablesFolder).Join(kOldPrefix + old.LastName());
    if (!MovePath(old.AsFile().text(), backup.text())) {
        error = SystemError(HostPathForMessage(old.text()));
        return false;
    }
    if (!MovePath(fresh.AsFile().text(), old.AsFile().text())) {
        error = SystemError(HostPathForMessage(old.text()));
        MovePath(backup.text(), old.AsFile().text());
        return false;
    }
    DeleteFolder(backup.AsFolder());
    return true;
}

// An old copy left by a swap in two moves cut short, when its table has no
// folder: it is the table.
void RestoreHalfSwapped(const std::vector<DirEntry>& entries) {
    for (const DirEntry& e : entries) {
        if (!e.directory || !e.name.starts_with(kOldPrefix)) continue;
        const std::string name = e.name.substr(std::strlen(kOldPrefix));
        const WinPath target = WinPath(kTablesFolder).Join(name);
        if (!name.empty() && !PathExists(target.text()))
            MovePath(WinPath(kTablesFolder).Join(e.name).text(), target.text());
    }
}

}  // namespace

std::string TableFolderName(const std::string& utf8_name, const std::vector<std::string>& taken) {
    constexpr size_t kMaxBytes = 64;
    std::string name;
    for (size_t at = 0; at < utf8_name.size();) {
        const unsigned char c = static_cast<unsigned char>(utf8_name[at]);
        size_t n = c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
        n = std::min(n, utf8_name.size() - at);
        std::string piece;
        if (n == 1) {
            if (c >= 0x20 && c != 0x7F && !std::strchr("<>:\"/\\|?*", c)) piece.assign(1, char(c));
        } else if (const auto cp = Utf8ToCp932(std::string_view(utf8_name).substr(at, n))) {
            piece = *cp;
        }
        if (piece.empty()) piece = "_";
        if (name.size() + piece.size() > kMaxBytes) break;
        name += piece;
        at += n;
    }
    // Windows drops trailing dots and spaces; "." starts this store's own
    // folders; a device name opens the device.
    while (!name.empty() && (name.back() == ' ' || name.back() == '.')) name.pop_back();
    while (!name.empty() && name.front() == ' ') name.erase(0, 1);
    if (!name.empty() && name.front() == '.') name.front() = '_';
    if (name.empty()) name = "table";
    if (IsDeviceName(name)) name = "_" + name;
    const auto used = [&taken](const std::string& candidate) {
        return std::any_of(taken.begin(), taken.end(),
                           [&](const std::string& t) { return SameIgnoringCase(t, candidate); });
    };
    std::string unique = name;
    for (int n = 2; used(unique); ++n) unique = name + " (" + std::to_string(n) + ")";
    return unique;
}

KeptTables LoadKeptTables(bool with_data) {
    KeptTables out;
    std::vector<DirEntry> entries;
    if (!ListFolder(kTablesFolder, entries, ListDetail::NamesAndKinds)) return out;
    RestoreHalfSwapped(entries);
    entries.clear();
    if (!ListFolder(kTablesFolder, entries, ListDetail::NamesAndKinds)) return out;
    std::sort(entries.begin(), entries.end(),
              [](const DirEntry& a, const DirEntry& b) { return a.name < b.name; });
    for (const DirEntry& e : entries) {
        if (!e.directory || e.name.starts_with(".")) continue;
        KeptTable t;
        std::string error;
        if (ReadKept(WinPath(kTablesFolder).Join(e.name), with_data, t, error))
            out.tables.push_back(std::move(t));
        else
            out.problems.push_back(HostPathForMessage(WinPath(kTablesFolder).Join(e.name).text()) +
                                   ": " + error);
    }
    return out;
}

bool KeepTable(const FetchedTable& fetched, const TableChanges& changes, const KeptTable* previous,
               KeptTable& kept, std::string& error) {
    if (!CreateFolders(kTablesFolder)) {
        error = SystemError(HostPathForMessage(kTablesFolder));
        return false;
    }
    FolderLock lock(kTablesFolder);
    std::vector<std::string> taken;
    std::vector<DirEntry> entries;
    ListFolder(kTablesFolder, entries, ListDetail::NamesAndKinds);
    for (const DirEntry& e : entries) {
        // Every write holds the lock: a new copy found under it is what a
        // killed write left, and never became a table.
        if (e.directory && e.name.starts_with(kNewPrefix))
            DeleteFolder(WinPath(kTablesFolder).Join(e.name).AsFolder());
        else
            taken.push_back(e.name);
    }
    // The names under the lock, from the headers alone: the data of every
    // table need not be read for them.
    for (const DirEntry& e : entries) {
        if (!e.directory || e.name.starts_with(".")) continue;
        const WinPath folder = WinPath(kTablesFolder).Join(e.name).AsFolder();
        if (previous && folder == WinPath(previous->folder).AsFolder()) continue;
        std::string bytes, why;
        TableHeader other;
        if (ReadWholeFile(folder.Join(kHeaderFile).text(), bytes) &&
            ReadTableHeader(bytes, other, why) && other.name == fetched.header.name) {
            error = Arg(
                Tr("Tables", "「%1」という表は既にあります（update-tables で更新してください）。"),
                {Utf8ToCp932Lossy(EscapeControls(other.name))});
            return false;
        }
    }
    if (previous && !PathExists(WinPath(previous->folder).AsFile().text())) {
        error = Arg(Tr("Tables", "表のフォルダーがなくなりました: %1"),
                    {HostPathForMessage(previous->folder)});
        return false;
    }
    kept = KeptTable{};
    kept.source = fetched.source;
    kept.page_url = fetched.page_url;
    kept.header_url = fetched.header_url;
    kept.data_url = fetched.data_url;
    kept.updated = NowUtc();
    kept.added = previous ? previous->added : kept.updated;
    kept.header = fetched.header;
    kept.data = fetched.data;
    kept.changes = changes;
    const WinPath target =
        previous
            ? WinPath(previous->folder).AsFolder()
            : WinPath(kTablesFolder).Join(TableFolderName(fetched.header.name, taken)).AsFolder();
    kept.folder = target.text();

    const auto fresh = MakeNewFolder(error);
    if (!fresh) return false;
    const bool written = WriteFileAtomic(fresh->Join(kHeaderFile).text(), fetched.header_bytes) &&
                         WriteFileAtomic(fresh->Join(kDataFile).text(), fetched.data_bytes) &&
                         WriteFileAtomic(fresh->Join(kStateFile).text(), StateJson(kept));
    if (!written) {
        error = SystemError(HostPathForMessage(fresh->text()));
        DeleteFolder(*fresh);
        return false;
    }
    const bool placed = previous ? Replace(*fresh, target, error)
                                 : MovePath(fresh->AsFile().text(), target.AsFile().text());
    if (!placed) {
        if (!previous) error = SystemError(HostPathForMessage(target.text()));
        DeleteFolder(*fresh);
        return false;
    }
    return true;
}

bool LoadKeptData(KeptTable& table, std::string& error) {
    return table.data_read || ReadData(table, error);
}

bool RemoveKeptTable(const KeptTable& table, std::string& error) {
    FolderLock lock(kTablesFolder);
    // Out of the store's names first, so that a cut-short delete leaves no
    // half table behind under the table's name.
    std::string why;
    const auto gone = MakeNewFolder(why);
    if (gone && DeletePath(gone->AsFile().text()) &&
        MovePath(WinPath(table.folder).AsFile().text(), gone->AsFile().text())) {
        DeleteFolder(*gone);
        return true;
    }
    error = SystemError(HostPathForMessage(table.folder));
    return false;
}

}  // namespace qv5
