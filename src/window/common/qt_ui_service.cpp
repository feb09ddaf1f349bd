#include "window/common/qt_ui_service.h"

#include <QCoreApplication>
#include <QDialog>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QFontDialog>
#include <QMessageBox>
#include <QPainter>
#include <QPixmap>
#include <QRegularExpression>
#include <QSortFilterProxyModel>
#include <cstdio>
#include <vector>

#include "platform/paths.h"
#include "platform/text.h"
#include "platform/tr.h"

namespace qv5 {
namespace {

QString HostToUi(const std::string& internal) {
    auto host = ToHostPath(internal);
    return host ? QString::fromStdString(*host) : QString();
}

// "*.*" is Windows' "every file": on Linux it would hide every name without
// a dot, programs included. A Windows program pattern also offers the
// executables without an extension (the dialog shows only those of them).
QStringList HostPatterns(const QString& windows_patterns) {
    QStringList out;
    for (const QString& p :
         windows_patterns.split(QRegularExpression(QStringLiteral("[; ]+")), Qt::SkipEmptyParts)) {
        const QString mapped = p == QLatin1String("*.*") ? QStringLiteral("*") : p;
        if (!out.contains(mapped)) out << mapped;
    }
    if (out.contains(QStringLiteral("*.exe"), Qt::CaseInsensitive) &&
        !out.contains(QStringLiteral("*")))
        out << QStringLiteral("*");
    return out;
}

bool OffersExecutables(const QString& qt_filter) {
    const int open = qt_filter.lastIndexOf(QLatin1Char('('));
    const QStringList patterns = qt_filter.mid(open + 1).chopped(1).split(QLatin1Char(' '));
    return open >= 0 && patterns.contains(QStringLiteral("*")) &&
           patterns.contains(QStringLiteral("*.exe"), Qt::CaseInsensitive);
}

// Under a Windows program filter, a name without extension is offered only
// when it is an executable file.
class ProgramFilterModel final : public QSortFilterProxyModel {
  public:
    explicit ProgramFilterModel(QFileDialog* dialog)
        : QSortFilterProxyModel(dialog), dialog_(dialog) {
        connect(dialog, &QFileDialog::filterSelected, this, [this] { invalidateFilter(); });
    }

  protected:
    bool filterAcceptsRow(int row, const QModelIndex& parent) const override {
        auto* files = qobject_cast<QFileSystemModel*>(sourceModel());
        if (!files || !OffersExecutables(dialog_->selectedNameFilter())) return true;
        const QFileInfo info = files->fileInfo(files->index(row, 0, parent));
        if (info.isDir() || info.fileName().endsWith(QLatin1String(".exe"), Qt::CaseInsensitive))
            return true;
        return !info.fileName().contains(QLatin1Char('.')) && info.isExecutable();
    }

  private:
    QFileDialog* dialog_;
};

void UseHostFilter(QFileDialog& dialog, const std::string& filter) {
    const QString qt_filter = QtNameFilter(filter);
    dialog.setNameFilter(qt_filter);
    // The captions are shown as they are written; the patterns are the host's.
    dialog.setOption(QFileDialog::HideNameFilterDetails, true);
    if (qt_filter.contains(QLatin1String("*.exe *"), Qt::CaseInsensitive)) {
        dialog.setOption(QFileDialog::DontUseNativeDialog, true);
        dialog.setProxyModel(new ProgramFilterModel(&dialog));
    }
}

}  // namespace

QString QtNameFilter(const std::string& filter) {
    struct Entry {
        QString description, patterns;
    };
    std::vector<Entry> entries;
    const QString text = ToQString(filter);
    if (!text.contains(QLatin1Char('|'))) {
        // One description holding its patterns in its last parentheses.
        const int open = text.lastIndexOf(QLatin1Char('('));
        const bool has = open >= 0 && text.endsWith(QLatin1Char(')'));
        entries.push_back({text, has ? text.mid(open + 1).chopped(1) : QStringLiteral("*")});
    } else {
        const QStringList parts = text.split(QLatin1Char('|'));
        for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
            if (parts[i].isEmpty() && parts[i + 1].isEmpty()) break;
            entries.push_back({parts[i], parts[i + 1]});
        }
    }
    QStringList out;
    // Qt takes the patterns from the last parentheses and, with the details
    // hidden, shows what comes before them: the caption as written.
    for (const Entry& e : entries)
        out << e.description + QLatin1Char('(') + HostPatterns(e.patterns).join(QLatin1Char(' ')) +
                   QLatin1Char(')');
    return out.join(QStringLiteral(";;"));
}

namespace {
std::string g_grab_to;
bool g_grabbed = false;
}  // namespace

void GrabNextDialogTo(const std::string& host_png) {
    g_grab_to = host_png;
    g_grabbed = false;
}

bool DialogGrabbed() {
    return g_grabbed;
}

bool SaveDialogPicture(QDialog& dialog, const std::string& host_png) {
    dialog.show();
    for (int i = 0; i < 5; ++i) QCoreApplication::processEvents();
    // The picture carries the title, which the window manager would draw.
    const QPixmap body = dialog.grab();
    const int bar = dialog.fontMetrics().height() + 12;
    QPixmap picture(body.width(), body.height() + bar);
    picture.fill(QColor(0xd8, 0xd8, 0xe0));
    {
        QPainter p(&picture);
        p.setFont(dialog.font());
        p.drawText(QRect(8, 0, body.width() - 16, bar), Qt::AlignVCenter | Qt::AlignLeft,
                   dialog.windowTitle());
        p.drawPixmap(0, bar, body);
    }
    return picture.save(QString::fromStdString(host_png), "PNG");
}

int RunModal(QDialog& dialog) {
    if (g_grab_to.empty()) return dialog.exec();
    g_grabbed = SaveDialogPicture(dialog, g_grab_to);
    g_grab_to.clear();
    dialog.hide();
    return QDialog::Rejected;
}

std::string UnrepresentablePathMessage(const std::string& host_path) {
    char32_t bad = U'\\';
    for (char32_t c : QString::fromStdString(host_path).toUcs4()) {
        const std::string one = QString::fromUcs4(&c, 1).toStdString();
        if (c == U'\\' || !Utf8ToCp932(one)) {
            bad = c;
            break;
        }
    }
    char code[16];
    std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(bad));
    return Arg(Tr("ChosenPath",
                  "このパスは使用できません。文字 %1 "
                  "はShift-JISで表せません。元の値のままです。\n"),
               {code}) +
           Utf8ToCp932Lossy(host_path);
}

std::optional<std::string> ChosenPath(QWidget* owner, const QString& host) {
    if (host.isEmpty()) return std::nullopt;
    if (auto internal = FromHostPath(host.toStdString())) return internal;
    ShowMessage(owner, UnrepresentablePathMessage(host.toStdString()), kAppTitle, MsgIcon::Warning);
    return std::nullopt;
}

namespace {

class QtUiService final : public UiService {
  public:
    MsgAnswer MessageBox(QWidget* owner, const std::string& text, const std::string& caption,
                         MsgButtons buttons, MsgIcon icon) override {
        QMessageBox box(owner);
        box.setText(ToQString(text));
        box.setWindowTitle(ToQString(caption));
        switch (icon) {
            case MsgIcon::Information:
                box.setIcon(QMessageBox::Information);
                break;
            case MsgIcon::Warning:
                box.setIcon(QMessageBox::Warning);
                break;
            case MsgIcon::Error:
                box.setIcon(QMessageBox::Critical);
                break;
            case MsgIcon::Question:
                box.setIcon(QMessageBox::Question);
                break;
            case MsgIcon::None:
                break;
        }
        switch (buttons) {
            case MsgButtons::Ok:
                box.setStandardButtons(QMessageBox::Ok);
                break;
            case MsgButtons::OkCancel:
                box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
                break;
            case MsgButtons::YesNo:
                box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
                break;
        }
        switch (RunModal(box)) {
            case QMessageBox::Cancel:
                return MsgAnswer::Cancel;
            case QMessageBox::Yes:
                return MsgAnswer::Yes;
            case QMessageBox::No:
                return MsgAnswer::No;
            default:
                return buttons == MsgButtons::YesNo ? MsgAnswer::No : MsgAnswer::Ok;
        }
    }

    std::optional<std::string> BrowseFolder(QWidget* owner, const std::string& title) override {
        QFileDialog dlg(owner, ToQString(title));
        dlg.setFileMode(QFileDialog::Directory);
        dlg.setOption(QFileDialog::ShowDirsOnly, true);
        if (RunModal(dlg) != QDialog::Accepted || dlg.selectedFiles().isEmpty())
            return std::nullopt;
        return ChosenPath(owner, dlg.selectedFiles().first());
    }

    std::optional<std::string> OpenFile(QWidget* owner, const std::string& filter,
                                        const std::string& title) override {
        QFileDialog dlg(owner, ToQString(title));
        dlg.setAcceptMode(QFileDialog::AcceptOpen);
        dlg.setFileMode(QFileDialog::ExistingFile);
        UseHostFilter(dlg, filter);
        if (RunModal(dlg) != QDialog::Accepted || dlg.selectedFiles().isEmpty())
            return std::nullopt;
        return ChosenPath(owner, dlg.selectedFiles().first());
    }

    std::optional<std::string> SaveFile(QWidget* owner, const std::string& default_name,
                                        const std::string& default_ext,
                                        const std::string& filter) override {
        QFileDialog dlg(owner);
        dlg.setAcceptMode(QFileDialog::AcceptSave);
        dlg.setDefaultSuffix(ToQString(default_ext));
        UseHostFilter(dlg, filter);
        dlg.setFileMode(QFileDialog::AnyFile);
        dlg.setOption(QFileDialog::DontConfirmOverwrite, false);
        dlg.selectFile(HostToUi(default_name));
        if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty()) return std::nullopt;
        return ChosenPath(owner, dlg.selectedFiles().first());
    }

    std::optional<FontChoice> ChooseFont(QWidget* owner, const FontChoice& initial) override {
        bool ok = false;
        QFont f(ToQString(initial.face), initial.point_size > 0 ? initial.point_size : 10);
        QFont chosen = QFontDialog::getFont(&ok, f, owner);
        if (!ok) return std::nullopt;
        return FontChoice{FromQString(chosen.family()), chosen.pointSize()};
    }

    int RunDialog(QDialog& dialog) override { return RunModal(dialog); }
};

}  // namespace

std::unique_ptr<UiService> MakeQtUiService() {
    return std::make_unique<QtUiService>();
}

}  // namespace qv5
