// Course and score lists: a root element holding entries whose children carry
// the values as text.
#pragma once

#include <tinyxml2.h>

#include <cstdint>
#include <string>
#include <string_view>

namespace qv5 {

struct XmlList {
    tinyxml2::XMLDocument doc{true, tinyxml2::PRESERVE_WHITESPACE};
    // The first entry; it and every element after it are entries.
    const tinyxml2::XMLElement* first = nullptr;
    // Texts are the program's Shift-JIS unless the file says it is UTF-8
    // (byte-order mark or encoding declaration).
    bool utf8 = false;
};

// False when the file (internal path) cannot be read or parsed, has no root
// element `root`, or the root has no child element `entry`.
bool LoadXmlList(const std::string& path, const char* root, const char* entry, XmlList& out);
// The same over the file's bytes; `out` refers to them only through its
// document, so they need not outlive this call.
bool ParseXmlList(std::string_view data, const char* root, const char* entry, XmlList& out);

// The text of the entry's child `name` as UTF-8 for the database, without
// the white space at its ends; empty when the child or its text is missing.
std::string EntryTextUtf8(const XmlList& list, const tinyxml2::XMLElement* entry, const char* name);
// The leading decimal number of the child's text; 0 when missing or without digits.
std::int32_t EntryNumber(const tinyxml2::XMLElement* entry, const char* name);

}  // namespace qv5
