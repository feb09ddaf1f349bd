#include "browser/game_body.h"

#include "platform/tr.h"

namespace qv5 {
namespace {

std::string Quoted(const std::string& path) {
    return "\"" + path + "\"";
}

}  // namespace

std::string PlayCommandLine() {
    return std::string(kGameBody) + " -s";
}

std::string PlayChartCommandLine(const WinPath& chart_path_path) {
    const std::string& chart_path = chart_path_path.text();
    return std::string(kGameBody) + " " + Quoted(chart_path);
}

std::string AutoplayCommandLine(const WinPath& chart_path_path) {
    const std::string& chart_path = chart_path_path.text();
    return std::string(kGameBody) + " -a " + Quoted(chart_path);
}

std::string ExportCommandLine(const char* option, const WinPath& chart_path_path,
                              const std::string& output) {
    const std::string& chart_path = chart_path_path.text();
    return std::string(kGameBody) + " " + option + " " + Quoted(chart_path) + " " + Quoted(output);
}

std::string MovieCommandLine(const std::string& output) {
    return std::string(kGameBody) + " -movie " + Quoted(output);
}

bool CommandLineCarries(std::string_view path) {
    return path.find('"') == std::string_view::npos;
}

std::string UncarriablePathMessage(const std::string& path) {
    return Tr("Launcher",
              "パスに \" が含まれているため、ゲーム本体に渡せません"
              "（Windowsのコマンドラインでは渡せない文字です）。\n"
              "名前を変えてから、もう一度実行して下さい。\n") +
           path;
}

std::string WithExportExtension(std::string path, std::string_view dot_ext) {
    if (path.size() < dot_ext.size() ||
        path.compare(path.size() - dot_ext.size(), dot_ext.size(), dot_ext) != 0)
        path += dot_ext;
    return path;
}

}  // namespace qv5
