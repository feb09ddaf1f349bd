// Course and score lists: a root element holding entries whose children carry
// the values as text.
#pragma once

#include <tinyxml2.h>

#include <cstddef>
#include <cstdint>
#include <functional>
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

// One entry of a list read piece by piece, valid during the call that gives it.
struct XmlEntry {
    const tinyxml2::XMLElement* element = nullptr;
    bool utf8 = false;  // as XmlList::utf8
};

enum class ListRead { Done, Unreadable, Stopped };

// A list can be as large as the download allows (64 MiB): its tree would take
// many times that. So the file is read a block at a time, and only the entry
// being read is held, parsed on its own. Files are accepted and refused as
// LoadXmlList accepts and refuses them, and entries are the same elements:
// Unreadable where LoadXmlList is false, and when a read fails on the way.
// Each entry goes to `each` as soon as it is complete, before the rest of the
// file is known to be good; Stopped when `each` returned false. `block` is the
// size of a read.
inline constexpr std::size_t kXmlListBlock = std::size_t{1} << 18;
ListRead ReadXmlList(const std::string& path, const char* root, const char* entry,
                     const std::function<bool(const XmlEntry&)>& each,
                     std::size_t block = kXmlListBlock);

// The text of the entry's child `name` as UTF-8 for the database, without
// the white space at its ends; empty when the child or its text is missing.
std::string EntryTextUtf8(const XmlList& list, const tinyxml2::XMLElement* entry, const char* name);
std::string EntryTextUtf8(const XmlEntry& entry, const char* name);
// The leading decimal number of the child's text; 0 when missing or without digits.
std::int32_t EntryNumber(const tinyxml2::XMLElement* entry, const char* name);

}  // namespace qv5
