// Where the charts of an archive lie, and the messages for an archive kind
// the program cannot read.
#include <archive.h>

#include "install/archive.h"
#include "install/archive_reader.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "platform/process.h"
#include "platform/text.h"
#include "platform/ui_service.h"
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

bool EndsWithExactly(const std::string& name, const char* ext) {
    const std::string e(ext);
    return name.size() >= e.size() && name.compare(name.size() - e.size(), e.size(), e) == 0;
}

std::string Lower(std::string s) {
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return s;
}

void ShowLoadFailure(ArchiveKind kind, bool inspection) {
    const char* zip = QT_TRANSLATE_NOOP("ArchiveContents", "unzip32.dllの読み込みに失敗しました。");
    const char* rar =
        inspection ? QT_TRANSLATE_NOOP("ArchiveContents", "UNrar32.DLLの読み込みに失敗しました。")
                   : QT_TRANSLATE_NOOP("ArchiveContents", "unrar32.dllの読み込みに失敗しました。");
    ShowMessage(nullptr, Tr("ArchiveContents", kind == ArchiveKind::Zip ? zip : rar));
}

}  // namespace

std::string& SharedFolderName() {
    static std::string name;
    return name;
}

bool ArchiveKindReadable(ArchiveKind kind) {
    if (g_unreadable[static_cast<int>(kind)]) return false;
    archive* a = archive_read_new();
    if (!a) return false;
    const bool ok = kind == ArchiveKind::Zip
                        ? archive_read_support_format_zip(a) == ARCHIVE_OK
                        : archive_read_support_format_rar(a) == ARCHIVE_OK &&
                              archive_read_support_format_rar5(a) == ARCHIVE_OK;
    archive_read_free(a);
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

void ShowExtractLoadFailure(ArchiveKind kind) {
    ShowLoadFailure(kind, false);
}

int OfferLibraries() {
    const MsgAnswer a = Ui().MessageBox(
        nullptr,
        Tr("ArchiveContents", "解凍に必要なライブラリが存在しません。\nダウンロードしますか？"),
        Tr("ArchiveContents", "確認"), MsgButtons::YesNo, MsgIcon::Question);
    if (a == MsgAnswer::Yes) {
        // The installer is the archiver's own; it is offered only where it is.
        if (PathExists("QV5files\\caldix\\caldix.exe"))
            Processes().Run("QV5files/caldix/caldix.exe", Wait::Yes);
    } else {
        ShowMessage(
            nullptr,
            Tr("ArchiveContents",
               "書庫解凍機能を利用するには、unzip32.dll、unrar32.dll、unrar.dllが必要です。\n"
               "手動で導入する場合は、これらをQV5.exeと同じフォルダに置いてください。"),
            Tr("ArchiveContents", "エラー"));
    }
    return 1;
}

// The archiver libraries matched each pattern ignoring case and took the
// first entry in archive order; the exact extension is checked afterwards.
Inspection InspectArchive(ArchiveKind kind, const std::string& archive_path,
                          std::string* read_error) {
    if (!ArchiveKindReadable(kind)) {
        ShowLoadFailure(kind, true);
        OfferLibraries();
        return Inspection::LibraryMissing;
    }
    static const char* const kExt[] = {".bms", ".bme", ".bml", ".pms"};
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
        const std::string lower = Lower(*reader.name());
        for (int p = 0; p < 4; ++p)
            if (!found[p] && EndsWithExactly(lower, kExt[p])) {
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
        if (!found[p] || !EndsWithExactly(first[p], kExt[p])) continue;
        const std::string folder = FolderOfEntry(first[p]);
        if (folder.empty()) return Inspection::ChartAtRoot;
        SharedFolderName() = folder;
        in_folder = true;
    }
    return in_folder ? Inspection::ChartInFolder : Inspection::NoChart;
}

}  // namespace qv5
