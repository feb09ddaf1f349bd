#include "library/check_text.h"

#include "library/job_text.h"
#include "platform/text.h"
#include "platform/tr.h"

namespace qv5 {
namespace {

std::string Utf8(const std::string& cp932) {
    return Cp932ToUtf8(cp932);
}

std::string Joined(const std::vector<std::string>& parts) {
    std::string out;
    for (const std::string& p : parts) {
        if (!out.empty()) out += ", ";
        out += p;
    }
    return out;
}

}  // namespace

std::string CheckText(const char* japanese) {
    return Utf8(Tr("LibraryCheck", japanese));
}

std::string KindTitle(CheckKind kind) {
    switch (kind) {
        case CheckKind::Duplicates:
            return CheckText(QT_TRANSLATE_NOOP("LibraryCheck", "重複した譜面"));
        case CheckKind::Missing:
            return CheckText(QT_TRANSLATE_NOOP("LibraryCheck", "見つからないファイル"));
        case CheckKind::Unreadable:
            return CheckText(QT_TRANSLATE_NOOP("LibraryCheck", "読めない譜面・空の譜面"));
        case CheckKind::Names:
            return CheckText(QT_TRANSLATE_NOOP("LibraryCheck", "ライブラリに入らない名前"));
        case CheckKind::OutOfDate:
            return CheckText(QT_TRANSLATE_NOOP("LibraryCheck", "ライブラリと食い違うもの"));
    }
    return {};
}

std::string FindingPath(const CheckFinding& f, PathShown shown) {
    if (!f.host_path.empty()) return f.host_path;
    return shown ? shown(f.path) : Utf8(f.path);
}

std::string DuplicateFileText(const CheckFile& file, PathShown shown) {
    return Arg(CheckText(QT_TRANSLATE_NOOP("LibraryCheck", "%1（%2バイト）")),
               {shown ? shown(file.path) : Utf8(file.path), std::to_string(file.size)});
}

// Each text puts its parts in at once (Arg), so a path holding "%2" stays
// as it is.
std::string FindingText(const CheckFinding& f, PathShown shown) {
    const std::string path = FindingPath(f, shown);
    const auto with_path = [&path](const char* japanese) {
        return Arg(CheckText(japanese), {path});
    };
    switch (f.reason) {
        case CheckReason::SameHash: {
            std::vector<std::string> files;
            for (const CheckFile& file : f.files) files.push_back(DuplicateFileText(file, shown));
            return Arg(CheckText(QT_TRANSLATE_NOOP("LibraryCheck", "同じ譜面が%1個（%2）: %3")),
                       {std::to_string(f.files.size()), f.detail, Joined(files)});
        }
        case CheckReason::MissingFiles: {
            std::vector<std::string> names;
            for (const std::string& n : f.names) names.push_back(Utf8(n));
            std::string text = Arg(
                CheckText(QT_TRANSLATE_NOOP("LibraryCheck", "%1: %2個のファイルがありません: %3")),
                {path, std::to_string(f.count), Joined(names)});
            if (f.count > long(f.names.size())) text += ", …";
            return text;
        }
        case CheckReason::EmptyHash:
            return with_path(
                QT_TRANSLATE_NOOP("LibraryCheck", "%1: ライブラリの行にハッシュがありません"));
        case CheckReason::NoNotes:
            return with_path(QT_TRANSLATE_NOOP("LibraryCheck", "%1: ノーツがありません"));
        case CheckReason::CannotOpen:
            return with_path(QT_TRANSLATE_NOOP("LibraryCheck", "%1: 開けません"));
        case CheckReason::TooLarge:
            return with_path(QT_TRANSLATE_NOOP(
                "LibraryCheck", "%1: 64 MiBより大きく、譜面ではありません（読みません）"));
        case CheckReason::NoShiftJisForm:
            return Arg(
                CheckText(QT_TRANSLATE_NOOP("LibraryCheck", "%1: 「%2」はShift-JISで表せません")),
                {path, f.detail});
        case CheckReason::TooLong:
            return with_path(QT_TRANSLATE_NOOP("LibraryCheck", "%1: パスが長すぎます"));
        case CheckReason::RowWithoutFile:
            return with_path(QT_TRANSLATE_NOOP(
                "LibraryCheck", "%1: ファイルがありません（ライブラリの行が残っています）"));
        case CheckReason::FolderRowWithoutFolder:
            return with_path(QT_TRANSLATE_NOOP(
                "LibraryCheck", "%1: フォルダがありません（ライブラリの行が残っています）"));
        case CheckReason::ChartNotInLibrary:
            return with_path(
                QT_TRANSLATE_NOOP("LibraryCheck", "%1: ライブラリに登録されていません"));
        case CheckReason::SongFolderMissing:
            return with_path(QT_TRANSLATE_NOOP("LibraryCheck", "%1: 曲フォルダがありません"));
    }
    return path;
}

std::string CheckSummary(const CheckResult& result) {
    std::string text = Arg(CheckText(QT_TRANSLATE_NOOP("LibraryCheck", "ライブラリの検査: %1、%2")),
                           {Utf8(ChartCount(result.charts)), Utf8(FolderCount(result.folders))});
    if (result.stopped)
        text += '\n' + CheckText(QT_TRANSLATE_NOOP(
                           "LibraryCheck", "途中で止めました。ここまでに見つかったものです。"));
    return text;
}

std::string MissingGroupText(const MissingGroup& group) {
    const int plural = group.files == 1 ? 1 : 2;
    const std::string files = Arg(Tr("LibraryCheck", "%1個のファイルがありません", nullptr, plural),
                                  {GroupedNumber(group.files)});
    return Arg(CheckText(QT_TRANSLATE_NOOP("LibraryCheck", "%1: %2、%3")),
               {Utf8(group.folder), Utf8(ChartCount(group.charts)), Utf8(files)});
}

std::string ReportText(const CheckResult& result) {
    std::string text = CheckSummary(result) + '\n';
    for (const CheckKind kind : kReportOrder) {
        text += '\n' + KindTitle(kind) + " (" + std::to_string(result.Count(kind)) + ")\n";
        if (kind == CheckKind::Missing) {
            for (const MissingGroup& g : MissingByFolder(result)) {
                text += MissingGroupText(g) + '\n';
                for (const size_t i : g.findings)
                    text += "  " + FindingText(result.findings[i]) + '\n';
            }
            continue;
        }
        for (const CheckFinding& f : result.findings)
            if (KindOf(f.reason) == kind) text += FindingText(f) + '\n';
    }
    return text;
}

}  // namespace qv5
