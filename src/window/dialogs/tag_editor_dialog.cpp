#include "window/dialogs/tag_editor_dialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "library/song_library.h"
#include "platform/text.h"
#include "platform/tr.h"
#include "platform/ui_service.h"
#include "window/common/controls.h"
#include "window/dialogs/tag_editor_dialog_ids.h"

namespace qv5 {

using namespace tag_editor_id;
namespace {

// More than any header line can hold (lines arrive in pieces of about 100 KB).
constexpr int kMaxFieldCharacters = 1 << 20;

}  // namespace

TagEditorDialog::TagEditorDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("TAG EDITOR"));
    setModal(true);
    setMinimumWidth(460);
    auto* form = new QFormLayout(this);
    title_ = AddEdit(kTitle);
    subtitle_ = AddEdit(kSubtitle);
    genre_ = AddEdit(kGenre);
    artist_ = AddEdit(kArtist);
    subartist_ = AddEdit(kSubartist);
    level_ = AddEdit(kLevel);
    exlevel_ = AddEdit(kExLevel);
    difficulty_ = AddEdit(kDifficulty);
    favorite_ = new QCheckBox(QStringLiteral("FAVORITE"), this);
    SetControlId(favorite_, kFavorite);
    form->addRow(QStringLiteral("TITLE"), title_);
    form->addRow(QStringLiteral("SUBTITLE"), subtitle_);
    form->addRow(QStringLiteral("GENRE"), genre_);
    form->addRow(QStringLiteral("ARTIST"), artist_);
    form->addRow(QStringLiteral("SUBARTIST"), subartist_);
    form->addRow(ToQString(Tr("TagEditorDialog", "☆ LEVEL")), level_);
    form->addRow(ToQString(Tr("TagEditorDialog", "★ LEVEL")), exlevel_);
    form->addRow(QStringLiteral("DIFFICULTY"), difficulty_);
    form->addRow(QString(), new QLabel(QStringLiteral("1 BEGINNER, 2 NORMAL, 3 HYPER, "
                                                      "4 ANOTHER, 5 EX"),
                                       this));
    form->addRow(favorite_);
    auto* buttons = new QDialogButtonBox(this);
    restore_ = buttons->addButton(ToQString(Tr("TagEditorDialog", "元に戻す")),
                                  QDialogButtonBox::ResetRole);
    QPushButton* ok = buttons->addButton(QDialogButtonBox::Ok);
    QPushButton* cancel = buttons->addButton(QDialogButtonBox::Cancel);
    SetControlId(restore_, kRestore);
    SetControlId(ok, kIdOk);
    SetControlId(cancel, kIdCancel);
    connect(restore_, &QPushButton::clicked, this, &TagEditorDialog::OnRestore);
    connect(buttons, &QDialogButtonBox::accepted, this, &TagEditorDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    form->addRow(buttons);
}

QLineEdit* TagEditorDialog::AddEdit(int id) {
    auto* edit = new QLineEdit(this);
    // A header line may hold far more than the default limit, which would
    // cut the text without a word.
    edit->setMaxLength(kMaxFieldCharacters);
    SetControlId(edit, id);
    return edit;
}

void TagEditorDialog::SetFolder(bool folder) {
    for (QWidget* w : std::initializer_list<QWidget*>{exlevel_, difficulty_, favorite_, restore_})
        w->setEnabled(!folder);
}

void TagEditorDialog::ShowFields() {
    title_->setText(ToQString(fields.title));
    subtitle_->setText(ToQString(fields.subtitle));
    genre_->setText(ToQString(fields.genre));
    artist_->setText(ToQString(fields.artist));
    subartist_->setText(ToQString(fields.subartist));
    level_->setText(ToQString(fields.level));
    exlevel_->setText(ToQString(fields.exlevel));
    difficulty_->setText(ToQString(fields.difficulty));
    favorite_->setChecked(fields.favorite != 0);
}

void TagEditorDialog::ReadFields() {
    fields.title = FromQString(title_->text());
    fields.subtitle = FromQString(subtitle_->text());
    fields.genre = FromQString(genre_->text());
    fields.artist = FromQString(artist_->text());
    fields.subartist = FromQString(subartist_->text());
    fields.level = FromQString(level_->text());
    fields.exlevel = FromQString(exlevel_->text());
    fields.difficulty = FromQString(difficulty_->text());
    fields.favorite = favorite_->isChecked() ? 1 : 0;
}

void TagEditorDialog::OnRestore() {
    ReadFields();
    if (RestoreFields(WinPath(chart_path), fields)) ShowFields();
}

void TagEditorDialog::accept() {
    ReadFields();
    QDialog::accept();
}

bool EditTags(QWidget* owner, SongLibrary& library, const std::string& path, bool is_folder) {
    ChartRecord record;
    if (is_folder ? !LoadFolderForTags(library, WinPath(path), record)
                  : !LoadChartForTags(library, WinPath(path), record)) {
        ShowMessage(
            owner,
            (is_folder ? Tr("TagEditorDialog", "フォルダがライブラリに登録されていません。\n")
                       : Tr("TagEditorDialog", "譜面ファイルを読み込めませんでした。\n")) +
                path,
            Tr("TagEditorDialog", "エラー"), MsgIcon::Error);
        return false;
    }
    TagEditorDialog dialog(owner);
    dialog.fields = FieldsOf(record);
    dialog.chart_path = path;
    dialog.SetFolder(is_folder);
    dialog.ShowFields();
    if (Ui().RunDialog(dialog) != QDialog::Accepted) return false;
    ApplyFields(dialog.fields, record);
    if (!SaveTags(library, record)) {
        ShowMessage(owner,
                    Tr("TagEditorDialog", "タグを保存できませんでした。\n") +
                        Utf8ToCp932Lossy(library.LastError()),
                    Tr("TagEditorDialog", "エラー"), MsgIcon::Error);
        return false;
    }
    return true;
}

}  // namespace qv5
