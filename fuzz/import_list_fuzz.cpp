// Arbitrary bytes as a course list and as a downloaded score list: parsed as
// ImportCourseList and CreatePlayerFromScoreList parse them, and every value
// they store taken from each entry (the database rows themselves are
// SQLite's business and would cost a file per input).
#include <cstddef>
#include <cstdint>
#include <string_view>

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

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    ReadEntries(bytes, "courselist", "course", {"title", "hash"}, {"type", "line"});
    ReadEntries(bytes, "scorelist", "score", {"hash", "scorehash", "ghost"},
                {"clear", "pg", "gr", "gd", "bd", "pr", "notes", "combo", "minbp", "playcount",
                 "clearcount", "opt_history", "rate", "clear_db", "clear_sd", "clear_ex",
                 "opt_this", "rseed"});
    return 0;
}
