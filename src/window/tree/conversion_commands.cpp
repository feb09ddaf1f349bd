#include "window/tree/conversion_commands.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include "config/tool_settings.h"
#include "convert/conversion.h"
#include "convert/native_tools.h"
#include "platform/process.h"
#include "platform/text.h"
#include "platform/tr.h"
#include "platform/ui_service.h"
#include "window/common/job_summary.h"
#include "window/common/progress_window.h"

namespace qv5 {
namespace {

enum class Kind { WavToOgg, OggToWav, BmpToPng, PngToBmp, WavAndBmp };

struct CommandEntry {
    int root_id, folder_id;
    Kind kind;
    const char* question;
    const char* title;
};

constexpr CommandEntry kCommands[] = {
    {kCmdRootWavToOgg, kCmdFolderWavToOgg, Kind::WavToOgg,
     QT_TRANSLATE_NOOP(
         "ConversionCommands",
         "サブフォルダも含めたすべてのwavをoggに変換します。\n変換元のwavは自動で削除されます。\n"
         "よろしいですか？"),
     QT_TRANSLATE_NOOP("ConversionCommands", "wavをoggに変換しています")},
    {kCmdRootOggToWav, kCmdFolderOggToWav, Kind::OggToWav,
     QT_TRANSLATE_NOOP(
         "ConversionCommands",
         "サブフォルダも含めたすべてのoggをwavに変換します。\n変換元のoggは自動で削除されます。\n"
         "よろしいですか？"),
     QT_TRANSLATE_NOOP("ConversionCommands", "oggをwavに変換しています")},
    {kCmdRootBmpToPng, kCmdFolderBmpToPng, Kind::BmpToPng,
     QT_TRANSLATE_NOOP(
         "ConversionCommands",
         "サブフォルダも含めたすべてのbmpをpngに変換します。\n変換元のbmpは自動で削除されます。\n"
         "bmsに使われているかは問わず変換するので、同梱のhtml等に影響する場合があります。\n"
         "よろしいですか？"),
     QT_TRANSLATE_NOOP("ConversionCommands", "bmpをpngに変換しています")},
    {kCmdRootPngToBmp, kCmdFolderPngToBmp, Kind::PngToBmp,
     QT_TRANSLATE_NOOP(
         "ConversionCommands",
         "サブフォルダも含めたすべてのpngをbmpに変換します。\n変換元のpngは自動で削除されます。\n"
         "よろしいですか？"),
     QT_TRANSLATE_NOOP("ConversionCommands", "pngをbmpに変換しています")},
    {kCmdRootWavAndBmp, kCmdFolderWavAndBmp, Kind::WavAndBmp,
     QT_TRANSLATE_NOOP("ConversionCommands",
                       "サブフォルダも含めたすべてのwavをoggに、bmpをpngに変換します。\n"
                       "変換元のwavとbmpは自動で削除されます。\nよろしいですか？"),
     QT_TRANSLATE_NOOP("ConversionCommands", "wavとbmpを変換しています")},
};

const CommandEntry* Find(int id) {
    for (const CommandEntry& c : kCommands)
        if (c.root_id == id || c.folder_id == id) return &c;
    return nullptr;
}

const CommandEntry& EntryOf(Kind kind) {
    for (const CommandEntry& c : kCommands)
        if (c.kind == kind) return c;
    return kCommands[0];
}

// While a converter runs, the progress window stays painted and its Stop
// button can be pressed (the pass then ends after that file); no note of its
// own covers it.
class PumpWhileWaiting {
  public:
    PumpWhileWaiting()
        : previous_(SetWaitHook([](const std::string&, const std::function<bool()>& exited) {
              if (exited()) return;
              QEventLoop loop;
              QTimer poll;
              QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
                  if (exited()) loop.quit();
              });
              poll.start(25);
              loop.exec();
          })) {}
    ~PumpWhileWaiting() { SetWaitHook(std::move(previous_)); }
    PumpWhileWaiting(const PumpWhileWaiting&) = delete;
    PumpWhileWaiting& operator=(const PumpWhileWaiting&) = delete;

  private:
    WaitHook previous_;
};

// The program a pass needs is checked before anything runs; the box has no
// owner and its answer does not matter.
bool ProgramReady(Kind kind, const ToolSettings& tools) {
    if (kind == Kind::BmpToPng || kind == Kind::PngToBmp) return true;
    const bool decoder = kind == Kind::OggToWav;
    const std::string& program = decoder ? tools.oggdec_body : tools.oggenc_body;
    if (ConverterExists(program)) return true;
    // An untouched default says what was looked for and how to get it.
    std::string text = MissingDefaultConverterMessage(program);
    if (text.empty())
        text = Tr(
            "ConversionCommands",
            decoder
                ? QT_TRANSLATE_NOOP("ConversionCommands", "oggデコーダーが設定されていません。")
                : QT_TRANSLATE_NOOP("ConversionCommands", "oggエンコーダーが設定されていません。"));
    Ui().MessageBox(nullptr, text, Tr("ConversionCommands", "報告"), MsgButtons::OkCancel,
                    MsgIcon::None);
    return false;
}

void RunUnderWindow(QWidget* owner, Kind kind, const std::string& folder,
                    const ToolSettings& configured) {
    std::string native_note;
    const ToolSettings tools = WithNativeConverters(
        configured, [&native_note](const std::string& text) { native_note = text; });
    if (!ProgramReady(kind, tools)) return;
    QElapsedTimer took;
    took.start();
    ConversionReport report;
    {
        ProgressWindow window(owner, Tr("ConversionCommands", EntryOf(kind).title));
        window.SetUnit(FilesUnit());
        if (!native_note.empty()) window.SetStatus(native_note);
        PumpWhileWaiting pump;
        switch (kind) {
            case Kind::WavToOgg:
                report = ConvertWavToOgg(folder, tools.oggenc_body, tools.oggenc_option, window);
                break;
            case Kind::OggToWav:
                report = ConvertOggToWav(folder, tools.oggdec_body, tools.oggdec_option, window);
                break;
            case Kind::BmpToPng:
                report = ConvertBmpToPng(folder, window);
                break;
            case Kind::PngToBmp:
                report = ConvertPngToBmp(folder, window);
                break;
            case Kind::WavAndBmp:
                report = ConvertWavAndBmp(folder, tools.oggenc_body, tools.oggenc_option, window);
                break;
        }
    }
    ShowJobSummary(owner, ConversionSummary(report.converted, static_cast<long>(report.kept.size()),
                                            took.elapsed() / 1000.0));
}

}  // namespace

bool IsConversionCommand(int command_id) {
    return Find(command_id) != nullptr;
}

bool RunConversionCommand(QWidget* owner, int command_id, const WinPath& folder_path_path,
                          const ToolSettings& tools) {
    const std::string& folder_path = folder_path_path.text();
    const CommandEntry* command = Find(command_id);
    if (!command) return false;
    if (Ui().MessageBox(owner, Tr("ConversionCommands", command->question),
                        Tr("ConversionCommands", "確認"), MsgButtons::YesNo,
                        MsgIcon::None) != MsgAnswer::Yes)
        return true;
    RunUnderWindow(owner, command->kind, folder_path, tools);
    return true;
}

void ConvertInstalledFolder(QWidget* owner, const WinPath& folder_path_path,
                            const ToolSettings& tools) {
    const std::string& folder_path = folder_path_path.text();
    if (tools.autowavtoogg) RunUnderWindow(owner, Kind::WavToOgg, folder_path, tools);
    if (tools.autobmptopng) RunUnderWindow(owner, Kind::BmpToPng, folder_path, tools);
}

}  // namespace qv5
