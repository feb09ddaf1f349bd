#include "platform/qt_ui_service.h"

#include <QDialog>
#include <QFileDialog>
#include <QFontDialog>
#include <QMessageBox>

#include "platform/paths.h"
#include "platform/text.h"

namespace qv5 {
namespace {

QString HostToUi(const std::string& internal) {
    auto host = ToHostPath(internal);
    return host ? QString::fromStdString(*host) : QString();
}

std::optional<std::string> UiToInternal(const QString& host) {
    if (host.isEmpty()) return std::nullopt;
    return FromHostPath(host.toStdString());
}

}  // namespace

QString QtNameFilter(const std::string& filter) {
    if (filter.find('|') == std::string::npos) return ToQString(filter);
    QStringList parts = ToQString(filter).split(QLatin1Char('|'));
    QStringList entries;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString& desc = parts[i];
        QString pattern = parts[i + 1];
        if (desc.isEmpty() && pattern.isEmpty()) break;
        pattern.replace(QLatin1Char(';'), QLatin1Char(' '));
        // Qt reads the patterns from the last parentheses of the description.
        if (desc.endsWith(QLatin1Char(')')) && desc.contains(QLatin1Char('(') + pattern))
            entries << desc;
        else
            entries << desc + QStringLiteral(" (") + pattern + QLatin1Char(')');
    }
    return entries.join(QStringLiteral(";;"));
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
        switch (box.exec()) {
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
        return UiToInternal(QFileDialog::getExistingDirectory(owner, ToQString(title)));
    }

    std::optional<std::string> OpenFile(QWidget* owner, const std::string& filter,
                                        const std::string& title) override {
        return UiToInternal(
            QFileDialog::getOpenFileName(owner, ToQString(title), QString(), QtNameFilter(filter)));
    }

    std::optional<std::string> SaveFile(QWidget* owner, const std::string& default_name,
                                        const std::string& default_ext,
                                        const std::string& filter) override {
        QFileDialog dlg(owner);
        dlg.setAcceptMode(QFileDialog::AcceptSave);
        dlg.setDefaultSuffix(ToQString(default_ext));
        dlg.setNameFilter(QtNameFilter(filter));
        dlg.setFileMode(QFileDialog::AnyFile);
        dlg.setOption(QFileDialog::DontConfirmOverwrite, false);
        dlg.selectFile(HostToUi(default_name));
        if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty()) return std::nullopt;
        return UiToInternal(dlg.selectedFiles().first());
    }

    std::optional<FontChoice> ChooseFont(QWidget* owner, const FontChoice& initial) override {
        bool ok = false;
        QFont f(ToQString(initial.face), initial.point_size > 0 ? initial.point_size : 10);
        QFont chosen = QFontDialog::getFont(&ok, f, owner);
        if (!ok) return std::nullopt;
        return FontChoice{FromQString(chosen.family()), chosen.pointSize()};
    }

    int RunDialog(QDialog& dialog) override { return dialog.exec(); }
};

}  // namespace

std::unique_ptr<UiService> MakeQtUiService() {
    return std::make_unique<QtUiService>();
}

}  // namespace qv5
