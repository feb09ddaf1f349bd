// `convert KIND FOLDER`: the conversion passes of the folder menus for scripts.
#include <cstdio>

#include "cli/command_support.h"
#include "cli/commands.h"
#include "cli/stop_on_interrupt.h"
#include "config/config_file.h"
#include "config/tool_settings.h"
#include "convert/conversion.h"
#include "convert/native_tools.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "platform/progress.h"
#include "platform/text.h"
#include "platform/tr.h"

namespace qv5 {
namespace {

int Fail(const std::string& message) {
    std::fprintf(stderr, "QV5: %s\n", message.c_str());
    return 1;
}

// The folder as the folder tree names it: relative to the program directory
// when inside it.
bool FolderPath(const std::string& host, const std::string& start_dir, std::string& out,
                std::string& error) {
    auto internal = CommandLinePath(host, start_dir, error, "no such folder");
    if (!internal) return false;
    if (!IsDirectory(*internal)) {
        error = "not a folder: " + host;
        return false;
    }
    out = *internal;
    return true;
}

}  // namespace

// KIND is wav2ogg, ogg2wav, bmp2png, png2bmp or all; the encoder and decoder
// are config.xml's. Exit status 0 only when every source was converted.
int RunConvert(const CommandCall& call) {
    ConfigRecord config;
    LoadCommandConfig(config);
    const ToolSettings configured = ToolSettingsFrom(config);
    const std::string& kind = call.args[0];
    const std::string& host_folder = call.args[1];
    const std::string& start_dir = call.start_dir;
    const ToolSettings tools = WithNativeConverters(configured, [](const std::string& text) {
        std::fprintf(stderr, "QV5: %s\n", Cp932ToUtf8(text).c_str());
    });
    const bool wav2ogg = kind == "wav2ogg", ogg2wav = kind == "ogg2wav", all = kind == "all";
    if (!wav2ogg && !ogg2wav && !all && kind != "bmp2png" && kind != "png2bmp")
        return Fail("unknown conversion " + kind + " (wav2ogg, ogg2wav, bmp2png, png2bmp, all)");
    std::string folder, error;
    if (!FolderPath(host_folder, start_dir, folder, error)) return Fail(error);

    ConversionReport report;
    {
        TerminalProgress progress(ogg2wav ? "folders decoded" : "files converted");
        StopOnInterrupt stop(progress);
        if (wav2ogg)
            report = ConvertWavToOgg(folder, tools.oggenc_body, tools.oggenc_option, progress);
        else if (ogg2wav)
            report = ConvertOggToWav(folder, tools.oggdec_body, tools.oggdec_option, progress);
        else if (all)
            report = ConvertWavAndBmp(folder, tools.oggenc_body, tools.oggenc_option, progress);
        else if (kind == "bmp2png")
            report = ConvertBmpToPng(folder, progress);
        else
            report = ConvertPngToBmp(folder, progress);
    }
    const std::string& program = ogg2wav ? tools.oggdec_body : tools.oggenc_body;
    if (report.program_missing && !MissingDefaultConverterMessage(program).empty())
        return Fail(Cp932ToUtf8(MissingDefaultConverterMessage(program)));
    if (report.program_missing)
        return Fail(
            Cp932ToUtf8(Tr(
                "CommandConvert",
                ogg2wav ? QT_TRANSLATE_NOOP("CommandConvert", "oggデコーダーが設定されていません。")
                        : QT_TRANSLATE_NOOP("CommandConvert",
                                            "oggエンコーダーが設定されていません。"))) +
            " (" + Cp932ToUtf8(ogg2wav ? tools.oggdec_body : tools.oggenc_body) + ")");
    for (const std::string& path : report.kept)
        std::fprintf(stderr, "QV5: kept %s\n", ShownPath(path).c_str());
    if (report.not_started > 0)
        std::fprintf(stderr, "QV5: %s of the converter could not start\n",
                     Counted(report.not_started, "run").c_str());
    if (report.stopped) std::fprintf(stderr, "QV5: stopped\n");
    std::printf("convert %s: %s converted, %zu kept in %s\n", kind.c_str(),
                Counted(report.converted, "file").c_str(), report.kept.size(),
                ShownPath(folder).c_str());
    return report.stopped || !report.kept.empty() ? 1 : 0;
}

}  // namespace qv5
