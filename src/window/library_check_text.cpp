#include "window/library_check_text.h"

#include <QCoreApplication>
#include <QStringList>

#include "platform/text.h"
#include "platform/ui_service.h"
#include "platform/tr.h"
#include "window/job_summary.h"

namespace qv5 {
namespace {

QString Internal(const std::string& path) {
    return ToQString(path);
}

}  // namespace

QString CheckText(const char* japanese) {
    return ToQString(Tr("LibraryCheck", japanese));
}

QString KindTitle(CheckKind kind) {
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

QString FindingPath(const CheckFinding& f) {
    return f.host_path.empty() ? Internal(f.path) : QString::fromUtf8(f.host_path);
}

QString FindingText(const CheckFinding& f) {
    const QString path = FindingPath(f);
    switch (f.reason) {
        case CheckReason::SameHash: {
            QStringList files;
            for (const CheckFile& file : f.files)
                files << CheckText(QT_TRANSLATE_NOOP("LibraryCheck", "%1（%2バイト）"))
                             .arg(Internal(file.path))
                             .arg(file.size);
            return CheckText(QT_TRANSLATE_NOOP("LibraryCheck", "同じ譜面が%1個（%2）: %3"))
                .arg(f.files.size())
                .arg(QString::fromStdString(f.detail), files.join(QStringLiteral(", ")));
        }
        case CheckReason::MissingFiles: {
            QStringList names;
            for (const std::string& n : f.names) names << Internal(n);
            QString text =
                CheckText(QT_TRANSLATE_NOOP("LibraryCheck", "%1: %2個のファイルがありません: %3"))
                    .arg(path)
                    .arg(f.count)
                    .arg(names.join(QStringLiteral(", ")));
            if (f.count > long(f.names.size())) text += QStringLiteral(", …");
            return text;
        }
        case CheckReason::EmptyHash:
            return CheckText(QT_TRANSLATE_NOOP("LibraryCheck",
                                               "%1: ライブラリの行にハッシュがありません"))
                .arg(path);
        case CheckReason::NoNotes:
            return CheckText(QT_TRANSLATE_NOOP("LibraryCheck", "%1: ノーツがありません")).arg(path);
        case CheckReason::CannotOpen:
            return CheckText(QT_TRANSLATE_NOOP("LibraryCheck", "%1: 開けません")).arg(path);
        case CheckReason::TooLarge:
            return CheckText(QT_TRANSLATE_NOOP("LibraryCheck",
                                               "%1: 64 MiBより大きく、譜面ではありません（読みません）"))
                .arg(path);
        case CheckReason::NoShiftJisForm:
            return CheckText(QT_TRANSLATE_NOOP("LibraryCheck",
                                               "%1: 「%2」はShift-JISで表せません"))
                .arg(path, QString::fromUtf8(f.detail));
        case CheckReason::TooLong:
            return CheckText(QT_TRANSLATE_NOOP("LibraryCheck", "%1: パスが長すぎます")).arg(path);
        case CheckReason::RowWithoutFile:
            return CheckText(QT_TRANSLATE_NOOP("LibraryCheck",
                                               "%1: ファイルがありません（ライブラリの行が残っています）"))
                .arg(path);
        case CheckReason::FolderRowWithoutFolder:
            return CheckText(QT_TRANSLATE_NOOP("LibraryCheck",
                                               "%1: フォルダがありません（ライブラリの行が残っています）"))
                .arg(path);
        case CheckReason::ChartNotInLibrary:
            return CheckText(QT_TRANSLATE_NOOP("LibraryCheck", "%1: ライブラリに登録されていません"))
                .arg(path);
        case CheckReason::SongFolderMissing:
            return CheckText(QT_TRANSLATE_NOOP("LibraryCheck", "%1: 曲フォルダがありません"))
                .arg(path);
    }
    return path;
}

QString CheckSummary(const CheckResult& result) {
    QString text = CheckText(QT_TRANSLATE_NOOP("LibraryCheck", "ライブラリの検査: %1、%2"))
                       .arg(ToQString(ChartCount(result.charts)),
                            ToQString(FolderCount(result.folders)));
    if (result.stopped)
        text += u'\n' + CheckText(QT_TRANSLATE_NOOP("LibraryCheck",
                                                    "途中で止めました。ここまでに見つかったものです。"));
    return text;
}

QString MissingGroupText(const MissingGroup& group) {
    const int plural = group.files == 1 ? 1 : 2;
    const std::string files =
        Arg(Tr("LibraryCheck", "%1個のファイルがありません", nullptr, plural),
            {GroupedNumber(group.files)});
    return CheckText(QT_TRANSLATE_NOOP("LibraryCheck", "%1: %2、%3"))
        .arg(Internal(group.folder), ToQString(ChartCount(group.charts)), ToQString(files));
}

QString ReportText(const CheckResult& result) {
    QString text = CheckSummary(result) + u'\n';
    for (const CheckKind kind : kReportOrder) {
        text += QStringLiteral("\n%1 (%2)\n").arg(KindTitle(kind)).arg(result.Count(kind));
        if (kind == CheckKind::Missing) {
            for (const MissingGroup& g : MissingByFolder(result)) {
                text += MissingGroupText(g) + u'\n';
                for (const size_t i : g.findings)
                    text += QStringLiteral("  ") + FindingText(result.findings[i]) + u'\n';
            }
            continue;
        }
        for (const CheckFinding& f : result.findings)
            if (KindOf(f.reason) == kind) text += FindingText(f) + u'\n';
    }
    return text;
}

}  // namespace qv5
