// Feeds arbitrary bytes as a course list and as a downloaded score list in a
// scratch folder.
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/paths.h"
#include "player/course_import.h"
#include "player/score_restore.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::string dir = [] {
        std::string d = (std::filesystem::temp_directory_path() / "qv5_import_fuzz").string();
        std::filesystem::create_directories(d + "/QV5files/Config");
        std::filesystem::create_directories(d + "/QV5files/Database/Score");
        qv5::SetProgramDirectory(d);
        return d;
    }();
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    std::ofstream(dir + "/list.xml", std::ios::binary) << bytes;
    qv5::ImportCourseList("list.xml");
    std::ofstream(dir + "/QV5files/Config/temp.xml", std::ios::binary) << bytes;
    qv5::CreatePlayerFromScoreList("fuzz", "pass", 1, [](const qv5::Notice&) {});
    std::filesystem::remove(dir + "/QV5files/Database/Score/fuzz.db");
    return 0;
}
