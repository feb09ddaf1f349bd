#include "window/dialogs/tool_settings_dialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "platform/paths.h"
#include "platform/text.h"
#include "platform/tr.h"
#include "platform/ui_service.h"
#include "window/common/controls.h"
#include "window/dialogs/compressor_dialog.h"
#include "window/dialogs/tool_settings_dialog_ids.h"

namespace qv5 {

using namespace tool_settings_id;
namespace {

const char* const kProgramFilter =
    QT_TRANSLATE_NOOP("ToolSettingsDialog", "実行ファイル(*.exe)|*.exe|All Files(*.*)|*.*||");

struct ProgramChoice {
    int button;
    const char* title;
    std::string ToolSettings::*value;
};

const ProgramChoice kPrograms[] = {
    {kChooseMp3Encoder,
     QT_TRANSLATE_NOOP("ToolSettingsDialog", "mp3エンコーダーの選択 (lame.exe推奨)"),
     &ToolSettings::mp3enc_body},
    {kChooseOggEncoder,
     QT_TRANSLATE_NOOP("ToolSettingsDialog", "oggエンコーダーの選択 (oggenc2.exe推奨)"),
     &ToolSettings::oggenc_body},
    {kChooseBmsEditor, QT_TRANSLATE_NOOP("ToolSettingsDialog", "BMSエディター選択 (BMSE.exe推奨)"),
     &ToolSettings::bmse_body},
    {kChooseOggDecoder,
     QT_TRANSLATE_NOOP("ToolSettingsDialog", "BMSエディター選択 (oggdec.exe推奨)"),
     &ToolSettings::oggdec_body},
};

}  // namespace

ToolSettingsDialog::ToolSettingsDialog(ToolSettings& tools, QWidget* parent)
    : QDialog(parent), tools_(tools) {
    setWindowTitle(ToQString(Tr("ToolSettingsDialog", "詳細設定")));
    setModal(true);
    auto* top = new QVBoxLayout(this);

    auto group = [this, top](const QString& title) {
        auto* box = new QGroupBox(title, this);
        auto* grid = new QGridLayout(box);
        top->addWidget(box);
        return grid;
    };
    auto text = [this](QGridLayout* grid, int row, int id, const QString& label,
                       std::string ToolSettings::*field) {
        auto* edit = new QLineEdit(this);
        SetControlId(edit, id);
        grid->addWidget(new QLabel(label, this), row, 0);
        grid->addWidget(edit, row, 1);
        bindings_.push_back({[this, edit, field] { edit->setText(ToQString(tools_.*field)); },
                             [this, edit, field] { tools_.*field = FromQString(edit->text()); }});
        return edit;
    };
    auto chooser = [this](QGridLayout* grid, int row, int id) {
        auto* b = new QPushButton(QStringLiteral("..."), this);
        SetControlId(b, id);
        b->setAutoDefault(false);
        grid->addWidget(b, row, 2);
        connect(b, &QPushButton::clicked, this, [this, id] { ChooseProgram(id); });
    };
    auto check = [this, top](int id, const QString& caption, std::int32_t ToolSettings::*field) {
        auto* box = new QCheckBox(caption, this);
        SetControlId(box, id);
        top->addWidget(box);
        bindings_.push_back({[this, box, field] { box->setChecked(tools_.*field != 0); },
                             [this, box, field] {
                                 const bool stray = tools_.*field != 0 && tools_.*field != 1;
                                 if (!(stray && box->isChecked()))
                                     tools_.*field = box->isChecked() ? 1 : 0;
                             }});
    };

    QGridLayout* movie = group(ToQString(Tr("ToolSettingsDialog", "動画・mp3作成")));
    text(movie, 0, kMp3Encoder, QStringLiteral("mp3 encoder"), &ToolSettings::mp3enc_body);
    chooser(movie, 0, kChooseMp3Encoder);
    text(movie, 1, kMp3OptionAudio, QStringLiteral("option (audio)"),
         &ToolSettings::mp3enc_option_normal);
    text(movie, 2, kMp3OptionMovie, QStringLiteral("option (movie)"),
         &ToolSettings::mp3enc_option_movie);
    text(movie, 3, kMp3Quality, QStringLiteral("quality (0-100)"), &ToolSettings::mp3_volume);
    text(movie, 4, kFrameRate, QStringLiteral("frame rate (1-60)"), &ToolSettings::movie_framerate);
    auto* audio = new QWidget(this);  // the buttons' parent makes them one exclusive group
    auto* audio_row = new QHBoxLayout(audio);
    audio_row->setContentsMargins(0, 0, 0, 0);
    std::vector<QRadioButton*> radios;
    const QString audio_captions[] = {QStringLiteral("mp3"), QStringLiteral("wav"),
                                      ToQString(Tr("ToolSettingsDialog", "wav (動画と別に保存)"))};
    const int audio_ids[] = {kMovieAudioMp3, kMovieAudioWav, kMovieAudioSeparateWav};
    for (int i = 0; i < 3; ++i) {
        auto* r = new QRadioButton(audio_captions[i], audio);
        SetControlId(r, audio_ids[i]);
        audio_row->addWidget(r);
        radios.push_back(r);
    }
    movie->addWidget(new QLabel(QStringLiteral("movie audio"), this), 5, 0);
    movie->addWidget(audio, 5, 1, 1, 2);
    bindings_.push_back({[this, radios] {
                             // A value outside the group selects none.
                             for (auto* r : radios) r->setAutoExclusive(false);
                             for (size_t i = 0; i < radios.size(); ++i)
                                 radios[i]->setChecked(tools_.movie_audio == std::int32_t(i));
                             for (auto* r : radios) r->setAutoExclusive(true);
                         },
                         [this, radios] {
                             tools_.movie_audio = -1;
                             for (size_t i = 0; i < radios.size(); ++i)
                                 if (radios[i]->isChecked()) tools_.movie_audio = std::int32_t(i);
                         }});
    auto* compressor = new QPushButton(ToQString(Tr("ToolSettingsDialog", "動画圧縮の設定")), this);
    SetControlId(compressor, kCompressor);
    compressor->setAutoDefault(false);
    movie->addWidget(compressor, 6, 1);
    connect(compressor, &QPushButton::clicked, this, [this] { ChooseCompressor(this); });

    QGridLayout* enc = group(ToQString(Tr("ToolSettingsDialog", "oggエンコード")));
    text(enc, 0, kOggEncoder, QStringLiteral("ogg encoder"), &ToolSettings::oggenc_body);
    chooser(enc, 0, kChooseOggEncoder);
    text(enc, 1, kOggEncoderOption, QStringLiteral("option"), &ToolSettings::oggenc_option);
    QGridLayout* dec = group(ToQString(Tr("ToolSettingsDialog", "oggデコード")));
    text(dec, 0, kOggDecoder, QStringLiteral("ogg decoder"), &ToolSettings::oggdec_body);
    chooser(dec, 0, kChooseOggDecoder);
    text(dec, 1, kOggDecoderOption, QStringLiteral("option"), &ToolSettings::oggdec_option);
    QGridLayout* bms = group(ToQString(Tr("ToolSettingsDialog", "BMSデータ")));
    text(bms, 0, kBmsEditor, QStringLiteral("BMS editor"), &ToolSettings::bmse_body);
    chooser(bms, 0, kChooseBmsEditor);
    text(bms, 1, kBmsEditorOption, QStringLiteral("option"), &ToolSettings::bmse_option);

    check(kAutoWavToOgg,
          ToQString(Tr("ToolSettingsDialog", "インストール時にwavをoggに自動変換する")),
          &ToolSettings::autowavtoogg);
    check(kAutoBmpToPng,
          ToQString(Tr("ToolSettingsDialog", "インストール時にbmpをpngに自動変換する")),
          &ToolSettings::autobmptopng);
    check(kAutoHiddenSearch,
          ToQString(Tr("ToolSettingsDialog", "インストール時に隠し譜面を自動検索する")),
          &ToolSettings::autofumensearch);

    auto* row = new QHBoxLayout;
    row->addStretch(1);
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    SetControlId(ok, kIdOk);
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    SetControlId(cancel, kIdCancel);
    cancel->setVisible(false);
    row->addWidget(ok);
    row->addWidget(cancel);
    top->addLayout(row);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void ToolSettingsDialog::ShowValues() {
    for (auto& b : bindings_) b.show();
}

void ToolSettingsDialog::ReadControls() {
    for (auto& b : bindings_) b.read();
}

void ToolSettingsDialog::accept() {
    ReadControls();
    QDialog::accept();
}

void ToolSettingsDialog::ChooseProgram(int button) {
    for (const ProgramChoice& p : kPrograms) {
        if (p.button != button) continue;
        auto chosen = Ui().OpenFile(this, Tr("ToolSettingsDialog", kProgramFilter),
                                    Tr("ToolSettingsDialog", p.title));
        if (!chosen) return;
        tools_.*p.value = *chosen;
        ShowValues();
        MakeProgramDirectoryCurrent();
        if (button == kChooseBmsEditor)
            ShowMessage(
                this,
                Tr("ToolSettingsDialog",
                   "bmsエディタでファイルを編集すると、以前のスコアデータは使用できなくなり、"
                   "IRにも別の曲として登録されてしまいます。\n"
                   "タイトル等の情報を変更したい場合は、bmsを直接編集せず、"
                   "タグエディタを利用して下さい。"),
                Tr("ToolSettingsDialog", "bms編集の際の注意"));
        return;
    }
}

void OpenToolSettings(QWidget* owner, ToolSettings& tools) {
    ToolSettingsDialog dlg(tools, owner);
    dlg.ShowValues();
    Ui().RunDialog(dlg);
}

}  // namespace qv5
