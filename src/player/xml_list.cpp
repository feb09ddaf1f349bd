#include "player/xml_list.h"

#include <algorithm>
#include <cctype>

#include "config/config_file.h"
#include "platform/files.h"
#include "platform/text.h"

namespace qv5 {
namespace {

bool DeclaresUtf8(std::string_view data) {
    if (data.substr(0, 3) == "\xEF\xBB\xBF") return true;
    if (data.substr(0, 5) != "<?xml") return false;
    std::string decl(data.substr(0, data.find("?>")));
    std::transform(decl.begin(), decl.end(), decl.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    for (const char* name : {"\"utf-8\"", "'utf-8'", "\"utf8\"", "'utf8'"})
        if (decl.find(std::string("encoding=") + name) != std::string::npos) return true;
    return false;
}

const char* ChildText(const tinyxml2::XMLElement* entry, const char* name) {
    const tinyxml2::XMLElement* child = entry->FirstChildElement(name);
    return child ? child->GetText() : nullptr;
}

// The white space that lays a list out over lines and indents it belongs to
// the file, not to the value; spaces inside a title are the title's.
std::string_view TrimXmlSpace(std::string_view text) {
    auto space = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!text.empty() && space(text.front())) text.remove_prefix(1);
    while (!text.empty() && space(text.back())) text.remove_suffix(1);
    return text;
}

}  // namespace

bool LoadXmlList(const std::string& path, const char* root, const char* entry, XmlList& out) {
    std::string data;
    if (!ReadWholeFile(path, data)) return false;
    return ParseXmlList(data, root, entry, out);
}

bool ParseXmlList(std::string_view data, const char* root, const char* entry, XmlList& out) {
    if (out.doc.Parse(data.data(), data.size()) != tinyxml2::XML_SUCCESS) return false;
    const tinyxml2::XMLElement* r = out.doc.FirstChildElement(root);
    out.first = r ? r->FirstChildElement(entry) : nullptr;
    out.utf8 = DeclaresUtf8(data);
    return out.first != nullptr;
}

std::string EntryTextUtf8(const XmlList& list, const tinyxml2::XMLElement* entry,
                          const char* name) {
    const char* text = ChildText(entry, name);
    if (!text) return std::string();
    const std::string_view value = TrimXmlSpace(text);
    return list.utf8 ? std::string(value) : Cp932ToUtf8(value);
}

std::int32_t EntryNumber(const tinyxml2::XMLElement* entry, const char* name) {
    const char* text = ChildText(entry, name);
    return text ? LeadingNumber(text) : 0;
}

}  // namespace qv5
