#include "install/install.h"

#include "install/entry_path.h"
#include "library/chart_names.h"
#include "library/song_library.h"
#include "platform/files.h"
#include "platform/progress.h"
#include "platform/text.h"
#include "platform/tr.h"
#include "platform/ui_service.h"
#include "platform/win_path.h"

namespace qv5 {
namespace {

// A single folder name that stays inside the destination.
bool IsPlainName(const std::string& name) {
    auto parts = SafeEntryParts(name);
    return parts && parts->size() == 1 && (*parts)[0] == name;
}

std::string Format(const char* utf8_format, const std::string& a) {
    std::string f = Tr("Install", utf8_format);
    const size_t at = f.find("%s");
    if (at != std::string::npos) f.replace(at, 2, a);
    return f;
}

// `name` in `dir`, found ignoring the case of ASCII letters as Windows does.
std::string NameOnDisk(const std::string& dir, const std::string& name) {
    std::vector<DirEntry> entries;
    ListFolder(dir, entries, ListDetail::NamesAndKinds);
    for (const DirEntry& e : entries)
        if (e.name == name) return name;
    for (const DirEntry& e : entries)
        if (e.directory && SameIgnoringCase(e.name, name)) return e.name;
    return name;
}

// Takes back what `r`'s extraction made, if it still holds any, then the
// rows another install's registration may have given to what it took back.
void TakeBack(SongLibrary& library, InstallResult& r) {
    UndoExtraction(r.extract);
    std::vector<std::string> paths;
    for (const ExtractReport::Created& c : r.extract.taken_back)
        paths.push_back(c.folder ? WinPath(c.path).AsFolder().text() : c.path);
    if (paths.empty()) return;
    LibraryReport forgotten;
    if (!library.ForgetTakenBack(paths, nullptr, forgotten) && !forgotten.error.empty())
        r.error += "\n" + forgotten.error;
}

}  // namespace

std::optional<ArchiveKind> ArchiveKindOfPath(const WinPath& path_path) {
    const std::string& path = path_path.text();
    if (EndsWithIgnoringCase(path, ".zip")) return ArchiveKind::Zip;
    if (EndsWithIgnoringCase(path, ".rar")) return ArchiveKind::Rar;
    return std::nullopt;
}

std::string ArchiveBaseName(const std::string& archive) {
    std::string name = WinPath(archive).LastName();
    name.resize(name.size() > 4 ? name.size() - 4 : 0);
    return name;
}

bool HoldsChartFiles(const WinPath& dir_path) {
    const std::string& dir = dir_path.text();
    std::vector<DirEntry> entries;
    ListFolder(WinPath(dir).AsFolder().text(), entries, ListDetail::NamesAndKinds);
    for (const DirEntry& e : entries) {
        if (e.directory) continue;
        if (IsChartName(e.name)) return true;
    }
    return false;
}

// In order: inspect (no file is touched), build the archivers' command line,
// extract (which takes its own files back when it fails), then one
// transaction on the library: scan the destination, rank the new charts, refresh the
// new folder. When that transaction does not commit, the extracted files are
// removed as well, so the disk and the library never disagree about them.
// An install into a folder nested in this one's runs beside it, and its
// registration may list files this one is still extracting: whatever this
// one takes back, it then takes out of the library too.
InstallResult InstallArchive(SongLibrary& library, ArchiveKind kind, const WinPath& archive_path,
                             const WinPath& destination_path, Progress* progress,
                             const ExtractOptions& options) {
    const std::string& archive = archive_path.text();
    const std::string& destination = destination_path.text();
    InstallResult r;
    r.kind = kind;
    const std::string dest = WinPath(destination).AsFolder().text();
    const std::string bare = WinPath(dest).AsFile().text();

    // One install at a time per destination, from extraction to registration:
    // the scan of the destination would otherwise register files another
    // install is still extracting (and may yet remove).
    NullProgress quiet;
    FolderLock lock(bare, progress ? *progress : quiet,
                    Tr("Install", "同じフォルダへの別のインストールが終わるのを待っています。"));
    if (lock.stopped()) {
        r.status = InstallResult::Status::Refused;
        r.extract.stopped = true;
        return r;
    }

    std::string read_error;
    r.inspection = InspectArchive(kind, archive, &read_error);
    if (r.inspection == Inspection::LibraryMissing) {
        r.status = InstallResult::Status::LibraryMissing;
        return r;
    }
    if (r.inspection == Inspection::NoChart) {
        r.status = InstallResult::Status::NoChart;
        // A damaged archive is said to be one, not to hold no chart.
        if (!read_error.empty())
            r.error =
                Tr("Install", "書庫を読み込めません。壊れているか、対応していない形式です。\n") +
                read_error;
        return r;
    }
    // The extraction's command line quotes its paths and has no way to carry
    // a quote inside one: `Song "Remix".zip` would read as `Song Remix.zip`.
    for (const std::string* path : {&archive, &bare}) {
        if (path->find('"') == std::string::npos) continue;
        r.status = InstallResult::Status::Refused;
        r.error = Format(
            QT_TRANSLATE_NOOP(
                "Install",
                "名前に「\"」を含むため、インストールできません。名前を変えてください。\n%s"),
            *path);
        return r;
    }
    if (r.inspection == Inspection::ChartInFolder) {
        r.folder_name = SharedFolderName();
        r.command_line = "-x \"" + archive + "\" \"" + bare + "/\" *.*";
    } else {
        r.folder_name = ArchiveBaseName(archive);
        SharedFolderName() = r.folder_name;
        r.command_line = "-x \"" + archive + "\" \"" + bare + "/" + r.folder_name + "/\" *.*";
    }
    // A folder name such as ".." would make the new folder lie elsewhere.
    if (!IsPlainName(r.folder_name)) {
        r.status = InstallResult::Status::Refused;
        r.error =
            Format(QT_TRANSLATE_NOOP(
                       "Install", "書庫のフォルダ名が正しくないため、インストールしません。\n%s"),
                   r.folder_name);
        return r;
    }
    r.extraction = ExtractArchive(kind, r.command_line, r.extract, options, progress);
    if (r.extraction != 1) {
        r.status = r.extraction == 0 ? InstallResult::Status::LibraryMissing
                                     : InstallResult::Status::ExtractFailed;
        r.error = r.extract.error;
        TakeBack(library, r);
        return r;
    }
    // The folder the archive's went into, as it is named on disk.
    r.folder_name = NameOnDisk(dest, r.folder_name);
    r.new_folder = WinPath(dest).Join(r.folder_name).AsFolder().text();

    const bool stored =
        library.RegisterInstalled(WinPath(dest), WinPath(r.new_folder), progress, r.library);
    if (!stored) {
        r.status = InstallResult::Status::LibraryFailed;
        if (r.library.stopped || (progress && progress->StopRequested())) r.extract.stopped = true;
        r.error = Tr("Install",
                     "曲をデータベースに登録できませんでした。展開したファイルは削除しました。");
        const std::string why = !r.library.error.empty() ? r.library.error : library.LastError();
        if (!why.empty()) r.error += "\n" + why;
        TakeBack(library, r);
        return r;
    }
    r.status = InstallResult::Status::Installed;
    return r;
}

std::vector<Notice> InstallNotices(const InstallResult& r) {
    std::vector<Notice> out;
    const std::string error_caption = Tr("Install", "エラー");
    switch (r.status) {
        case InstallResult::Status::LibraryMissing:
            out.push_back({LoadFailureText(r.kind, r.inspection == Inspection::LibraryMissing),
                           kAppTitle});
            return out;
        case InstallResult::Status::NoChart:
            out.push_back(
                {r.error.empty() ? Tr("Install", "譜面ファイルが見つかりません。") : r.error,
                 error_caption});
            return out;
        case InstallResult::Status::Refused:
        case InstallResult::Status::ExtractFailed:
        case InstallResult::Status::LibraryFailed:
            if (r.extract.stopped)
                out.push_back(
                    {Tr("Install", "インストールを中止しました。展開したファイルは削除しました。"),
                     Tr("Install", "報告")});
            else
                out.push_back({r.error, error_caption});
            return out;
        case InstallResult::Status::Installed:
            break;
    }
    const ExtractReport& e = r.extract;
    if (e.Skipped() == 0) return out;
    std::string text = Tr("Install", "展開しなかった項目があります。");
    auto line = [&](const char* what, long n) {
        if (n > 0) text += "\n" + Tr("Install", what) + std::to_string(n);
    };
    line(QT_TRANSLATE_NOOP("Install", "既にあるファイル(置き換えていません): "), e.kept);
    line(QT_TRANSLATE_NOOP("Install", "展開先の外を指す名前: "), e.unsafe);
    line(QT_TRANSLATE_NOOP("Install", "リンク・特殊ファイル: "), e.links);
    line(QT_TRANSLATE_NOOP("Install", "Shift-JISで表せない名前: "), e.unnamable);
    if (e.too_large > 0)
        text += "\n" + Arg(Tr("Install", "展開する大きさの上限(%1 KB)を超えるファイル: %2"),
                           {std::to_string(e.max_bytes / 1024), std::to_string(e.too_large)});
    line(QT_TRANSLATE_NOOP("Install", "長すぎる名前: "), e.too_long);
    out.push_back({text, Tr("Install", "報告")});
    return out;
}

}  // namespace qv5
