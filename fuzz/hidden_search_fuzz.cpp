// Arbitrary bytes as a hidden-chart candidate: the partial read must give the
// header reader's note count (and its verdict) for every input.
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "browser/hidden_search.h"
#include "library/chart_header.h"
#include "platform/paths.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::string dir = [] {
        std::string d = (std::filesystem::temp_directory_path() / "qv5_hidden_fuzz").string();
        std::filesystem::create_directories(d);
        qv5::SetProgramDirectory(d);
        return d;
    }();
    std::ofstream(dir + "/candidate", std::ios::binary)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    qv5::ChartRecord full;
    qv5::ReadChartHeader(full, "candidate");
    if (qv5::HeaderNoteCount("candidate", false, nullptr) != full.note_count) std::abort();
    if ((qv5::HeaderNoteCount("candidate", true, nullptr) > 0) != (full.note_count > 0))
        std::abort();
    return 0;
}
