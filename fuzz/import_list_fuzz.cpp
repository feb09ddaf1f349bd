// Arbitrary bytes as a course list and as a downloaded score list: parsed as
// ImportCourseList and CreatePlayerFromScoreList parse them, and every value
// they store taken from each entry (the database rows themselves are
// SQLite's business and would cost a file per input). A score list must
// also read the same an entry at a time as whole; that reader takes a file,
// written to memory-backed storage where there is some.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include "platform/paths.h"
#include "player/xml_list.h"

namespace {

void ReadEntries(std::string_view bytes, const char* root, const char* entry,
                 std::initializer_list<const char*> texts,
                 std::initializer_list<const char*> numbers) {
    qv5::XmlList list;
    if (!qv5::ParseXmlList(bytes, root, entry, list)) return;
    for (const auto* e = list.first; e; e = e->NextSiblingElement()) {
        for (const char* name : texts) qv5::EntryTextUtf8(list, e, name);
        for (const char* name : numbers) qv5::EntryNumber(e, name);
    }
}

std::string Printed(const tinyxml2::XMLElement* e, bool utf8) {
    tinyxml2::XMLPrinter printer(nullptr, true);
    e->Accept(&printer);
    return std::string(printer.CStr()) + (utf8 ? "+" : "-");
}

void CompareReadings(std::string_view bytes, const std::string& path) {
    qv5::XmlList list;
    const bool whole = qv5::ParseXmlList(bytes, "scorelist", "score", list);
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
        const std::filesystem::path shm("/dev/shm");
        const std::filesystem::path base =
            std::filesystem::is_directory(shm) ? shm : std::filesystem::temp_directory_path();
        std::string d = (base / "qv5_import_fuzz").string();
        std::filesystem::create_directories(d);
        qv5::SetProgramDirectory(d);
        return d;
    }();
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    ReadEntries(bytes, "courselist", "course", {"title", "hash"}, {"type", "line"});
    ReadEntries(bytes, "scorelist", "score", {"hash", "scorehash", "ghost"},
                {"clear", "pg", "gr", "gd", "bd", "pr", "notes", "combo", "minbp", "playcount",
                 "clearcount", "opt_history", "rate", "clear_db", "clear_sd", "clear_ex",
                 "opt_this", "rseed"});
    std::ofstream(dir + "/list.xml", std::ios::binary).write(bytes.data(), std::streamsize(size));
    CompareReadings(bytes, "list.xml");
    return 0;
}
