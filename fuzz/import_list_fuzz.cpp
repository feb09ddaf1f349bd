// Feeds arbitrary bytes as a course list and as a downloaded score list in a
// scratch folder, and stops at a list that reads otherwise an entry at a time
// than whole.
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/paths.h"
#include "player/course_import.h"
#include "player/score_restore.h"
#include "player/xml_list.h"

namespace {

std::string Printed(const tinyxml2::XMLElement* e, bool utf8) {
    tinyxml2::XMLPrinter printer(nullptr, true);
    e->Accept(&printer);
    return std::string(printer.CStr()) + (utf8 ? "+" : "-");
}

void CompareReadings(const std::string& path) {
    qv5::XmlList list;
    const bool whole = qv5::LoadXmlList(path, "scorelist", "score", list);
    std::vector<std::string> expected;
    if (whole)
        for (const auto* e = list.first; e; e = e->NextSiblingElement())
            expected.push_back(Printed(e, list.utf8));
    for (std::size_t block : {std::size_t{1}, std::size_t{3}, qv5::kXmlListBlock}) {
        std::vector<std::string> given;
        const qv5::ListRead read = qv5::ReadXmlList(
            path, "scorelist", "score",
            [&given](const qv5::XmlEntry& e) {
                given.push_back(Printed(e.element, e.utf8));
                return true;
            },
            block);
        if ((read == qv5::ListRead::Done) != whole || (whole && given != expected)) std::abort();
    }
}

}  // namespace

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
    CompareReadings("list.xml");
    qv5::ImportCourseList("list.xml");
    std::ofstream(dir + "/QV5files/Config/temp.xml", std::ios::binary) << bytes;
    qv5::CreatePlayerFromScoreList("fuzz", "pass", 1, [](const qv5::Notice&) {});
    std::filesystem::remove(dir + "/QV5files/Database/Score/fuzz.db");
    return 0;
}
