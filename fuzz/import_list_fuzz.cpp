// Arbitrary bytes as a course list and as a downloaded score list: parsed as
// ImportCourseList and CreatePlayerFromScoreList parse them, and every value
// they store taken from each entry (the database rows themselves are
// SQLite's business and would cost a file per input). A score list must
// also read the same an entry at a time as whole; that reader takes a file,
// written to memory-backed storage where there is some.
#include <unistd.h>

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

// The piece size comes from the input, so that runs try boundaries
// everywhere without a read per byte on every input.
void CompareReadings(std::string_view bytes, const std::string& path) {
    qv5::XmlList list;
    const bool whole = qv5::ParseXmlList(bytes, "scorelist", "score", list);
    std::vector<std::string> expected;
    if (whole)
        for (const auto* e = list.first; e; e = e->NextSiblingElement())
            expected.push_back(Printed(e, list.utf8));
    const std::size_t piece = bytes.empty() ? 1 : 1 + static_cast<unsigned char>(bytes[0]) % 61;
    // The second reads the whole input at once, as the program's own block
    // (256 KiB) reads any list this long; a block of that size would cost
    // more per input than all the rest.
    for (std::size_t block : {piece, bytes.size() + 1}) {
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
    // An absolute path (Z:): the current folder stays, as libFuzzer reads
    // its corpus by relative names.
    static const std::string file = [] {
        const std::filesystem::path shm("/dev/shm");
        const std::filesystem::path base =
            std::filesystem::is_directory(shm) ? shm : std::filesystem::temp_directory_path();
        return (base / ("qv5_import_fuzz_" + std::to_string(getpid()) + ".xml")).string();
    }();
    static const std::string internal = qv5::FromHostPath(file).value_or(std::string());
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    ReadEntries(bytes, "courselist", "course", {"title", "hash"}, {"type", "line"});
    ReadEntries(bytes, "scorelist", "score", {"hash", "scorehash", "ghost"},
                {"clear", "pg", "gr", "gd", "bd", "pr", "notes", "combo", "minbp", "playcount",
                 "clearcount", "opt_history", "rate", "clear_db", "clear_sd", "clear_ex",
                 "opt_this", "rseed"});
    std::ofstream(file, std::ios::binary).write(bytes.data(), std::streamsize(size));
    CompareReadings(bytes, internal);
    return 0;
}
