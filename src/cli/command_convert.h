// `convert KIND FOLDER`: the conversion passes of the folder menus for scripts.
#pragma once

#include <string>

namespace qv5 {

struct ToolSettings;

// KIND is wav2ogg, ogg2wav, bmp2png, png2bmp or all; a relative FOLDER is
// taken from `start_dir`. Exit status 0 only when every source was converted.
int RunConvertCommand(const ToolSettings& tools, const std::string& kind,
                      const std::string& host_folder, const std::string& start_dir);

}  // namespace qv5
