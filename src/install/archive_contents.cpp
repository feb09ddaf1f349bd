// Where the charts of an archive lie, and the message for an archive kind the
// program cannot read (shown by the caller).
#include "install/archive.h"
#include "install/archive_library.h"
#include "install/archive_reader.h"
#include "library/chart_names.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "platform/text.h"
#include "platform/tr.h"

namespace qv5 {
namespace {

bool g_unreadable[2] = {false, false};

// First index of `sep` in `name` at or after `from`, stepping over both
// bytes of a double-byte character.
size_t FindSeparator(const std::string& name, char sep, size_t from) {
    for (size_t i = 0; i < name.size(); ++i) {
        if (name[i] == sep && i >= from) return i;
        if (IsLeadByte(static_cast<unsigned char>(name[i]))) ++i;
    }
    return std::string::npos;
}

}  // namespace

std::string LoadFailureText(ArchiveKind kind, bool inspection) {
    const char* zip = QT_TRANSLATE_NOOP("ArchiveContents", "unzip32.dllの読み込みに失敗しました。");
    const char* rar =
        inspection ? QT_TRANSLATE_NOOP("ArchiveContents", "UNrar32.DLLの読み込みに失敗しました。")
                   : QT_TRANSLATE_NOOP("ArchiveContents", "unrar32.dllの読み込みに失敗しました。");
    return Tr("ArchiveContents", kind == ArchiveKind::Zip ? zip : rar);
}

std::string& SharedFolderName() {
    static std::string name;
    return name;
}

bool ArchiveKindReadable(ArchiveKind kind) {
    if (g_unreadable[static_cast<int>(kind)]) return false;
    const ArchiveLibrary* lib = LoadArchiveLibrary();
    archive* a = lib ? lib->archive_read_new() : nullptr;
    if (!a) return false;
    const bool ok = kind == ArchiveKind::Zip
                        ? lib->archive_read_support_format_zip(a) == ARCHIVE_OK
                        : lib->archive_read_support_format_rar(a) == ARCHIVE_OK &&
                              lib->archive_read_support_format_rar5(a) == ARCHIVE_OK;
    lib->archive_read_free(a);
    return ok;
}

void SetArchiveKindReadableForTesting(ArchiveKind kind, bool readable) {
    g_unreadable[static_cast<int>(kind)] = !readable;
}

std::string FolderOfEntry(const std::string& name) {
    size_t at = FindSeparator(name, '/', 1);
    if (at == std::string::npos) at = FindSeparator(name, '\\', 1);
    return at == std::string::npos ? std::string() : name.substr(0, at);
}

// The archiver libraries matched each pattern ignoring case and took the
// first entry in archive order; the exact extension is checked afterwards.
Inspection InspectArchive(ArchiveKind kind, const std::string& archive_path,
                          std::string* read_error) {
    if (!ArchiveKindReadable(kind)) return Inspection::LibraryMissing;
    const auto& kExt = kChartExtensions;
    std::string first[4];
    bool found[4] = {false, false, false, false};
    auto host = ToHostPath(archive_path);
    ArchiveReader reader;
    bool readable = host && reader.Open(kind, *host);
    for (int left = 4; readable && left > 0;) {
        const ArchiveReader::Step step = reader.Next();
        readable = step != ArchiveReader::Step::Failed;
        if (step != ArchiveReader::Step::Entry) break;
        if (reader.type() != EntryType::File || !reader.name()) continue;
        for (int p = 0; p < 4; ++p)
            if (!found[p] && EndsWithIgnoringCase(*reader.name(), kExt[p])) {
                found[p] = true;
                first[p] = *reader.name();
                --left;
            }
    }
    if (!readable && read_error) {
        *read_error = reader.error();
        if (read_error->empty()) *read_error = archive_path;
    }
    bool in_folder = false;
    for (int p = 0; p < 4; ++p) {
        if (!found[p] || !EndsWith(first[p], kExt[p])) continue;
        const std::string folder = FolderOfEntry(first[p]);
        if (folder.empty()) return Inspection::ChartAtRoot;
        SharedFolderName() = folder;
        in_folder = true;
    }
    return in_folder ? Inspection::ChartInFolder : Inspection::NoChart;
}

}  // namespace qv5
