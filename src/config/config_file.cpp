#include "config/config_file.h"

#include <tinyxml2.h>

#include <cctype>
#include <cstdint>
#include <limits>

#include "config/config_keys.h"
#include "platform/files.h"

namespace qv5 {
namespace {

constexpr const char* kCrlf = "\r\n";

const tinyxml2::XMLElement* FindKey(const tinyxml2::XMLDocument* doc, const char* section,
                                    const char* key) {
    const auto* config = doc->FirstChildElement("config");
    const auto* sec = config ? config->FirstChildElement(section) : nullptr;
    return sec ? sec->FirstChildElement(key) : nullptr;
}

// The element's text when its first child is a text node; nullptr otherwise.
const char* TextOf(const tinyxml2::XMLElement* e) {
    const auto* first = e->FirstChild();
    return (first && first->ToText()) ? first->Value() : nullptr;
}

void ReadSongFolders(const tinyxml2::XMLDocument* doc, ConfigRecord& config) {
    config.path_count = 0;
    const auto* config_el = doc ? doc->FirstChildElement("config") : nullptr;
    const auto* jukebox = config_el ? config_el->FirstChildElement("jukebox") : nullptr;
    const auto* first = jukebox ? jukebox->FirstChildElement("path") : nullptr;
    const char* text = first ? TextOf(first) : nullptr;
    if (!text) return;
    std::string entry = text;
    // Byte-wise, as stored: a trail byte 0x5C counts as a backslash here.
    if (entry.size() >= 2 && entry.ends_with("\\\\")) entry.pop_back();
    config.path[0] = std::move(entry);
    config.path_count = 1;
    for (const auto* e = first->NextSiblingElement(); e && config.path_count < kMaxSongFolders;
         e = e->NextSiblingElement()) {
        const char* t = TextOf(e);
        if (!t) break;
        config.path[config.path_count++] = t;
    }
}

void ApplyCorrections(ConfigRecord& c) {
    if (c.searchmax < 1) c.searchmax = 0;
    if (c.speedfirst < 1) c.speedfirst = 300;
    if (c.speednext < 1) c.speednext = 70;
    c.disabledsp = c.output == 2 ? 0 : 1;
    if (c.bufferlength == 0) c.bufferlength = 256;
    if (c.bufferlength < 16) c.bufferlength = 16;
    if (c.numbuffers < 1) c.numbuffers = 1;
}

}  // namespace

std::int32_t LeadingNumber(const char* text) {
    const unsigned char* p = reinterpret_cast<const unsigned char*>(text);
    while (*p == ' ' || (*p >= '\t' && *p <= '\r')) ++p;
    bool negative = false;
    if (*p == '+' || *p == '-') negative = *p++ == '-';
    std::int64_t value = 0;
    const std::int64_t limit = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
    for (; *p >= '0' && *p <= '9'; ++p) {
        value = value * 10 + (*p - '0');
        if (value > limit) value = limit;
    }
    if (negative) value = -value;
    if (value > std::numeric_limits<std::int32_t>::max())
        value = std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(value);
}

std::string EscapeXmlText(const std::string& text) {
    if (text.find_first_of("&<>'\"") == std::string::npos) return text;  // the usual value
    std::string out;
    out.reserve(text.size() + 16);
    // Equivalent to replacing &, <, >, ', " in that order over the whole text.
    for (char c : text) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '\'':
                out += "&apos;";
                break;
            case '"':
                out += "&quot;";
                break;
            default:
                out += c;
        }
    }
    return out;
}

void WriteIntLine(std::int32_t value, std::string& out, const char* key) {
    out += "\t\t<";
    out += key;
    out += '>';
    out += std::to_string(value);
    out += "</";
    out += key;
    out += '>';
    out += kCrlf;
}

void WriteTextLine(const std::string& text, const char* key, std::string& out) {
    out += "\t\t<";
    out += key;
    out += '>';
    // Written as in a text-mode stream: a line feed inside a value becomes CRLF.
    if (text.find_first_of("&<>'\"\n") == std::string::npos) {
        out += text;  // the usual value: nothing to escape
    } else {
        for (char ch : EscapeXmlText(text)) {
            if (ch == '\n') out += '\r';
            out += ch;
        }
    }
    out += "</";
    out += key;
    out += '>';
    out += kCrlf;
}

int ReadIntSetting(const tinyxml2::XMLDocument* doc, std::int32_t& field, std::int32_t def,
                   const char* section, const char* key) {
    field = def;
    if (!doc) return 0;
    const auto* e = FindKey(doc, section, key);
    if (!e) return -1;
    if (const char* t = TextOf(e)) field = LeadingNumber(t);
    return 1;
}

int ReadStringSetting(const tinyxml2::XMLDocument* doc, std::string& field, const char* def,
                      const char* section, const char* key) {
    field = def;
    if (!doc) return 0;
    const auto* e = FindKey(doc, section, key);
    if (!e) return -1;
    if (const char* t = TextOf(e)) field = t;
    return 1;
}

std::string FormatConfig(const ConfigRecord& c) {
    std::string out;
    out.reserve(8192);
    out += "<?xml version=\"1.0\" encoding=\"shift_jis\"?>\r\n<config>\r\n";
    const char* open_section = nullptr;
    auto close = [&] {
        if (open_section) out.append("\t</").append(open_section).append(">\r\n");
    };
    for (const ConfigKey& k : ConfigKeys()) {
        if (!open_section || std::string_view(open_section) != k.section) {
            close();
            open_section = k.section;
            out.append("\t<").append(k.section).append(">\r\n");
        }
        if (!k.key) {
            for (int i = 0; i < c.path_count && i < kMaxSongFolders; ++i)
                WriteTextLine(c.path[i], "path", out);
        } else if (k.int_field) {
            WriteIntLine(c.*k.int_field, out, k.key);
        } else {
            WriteTextLine(c.*k.text_field, k.key, out);
        }
    }
    close();
    out += "</config>\r\n";
    return out;
}

namespace {

// Every field from the document (null: no readable file) or its default.
void FillConfig(const tinyxml2::XMLDocument* parsed, ConfigRecord& config) {
    for (const ConfigKey& k : ConfigKeys()) {
        if (!k.key) continue;
        if (k.int_field)
            ReadIntSetting(parsed, config.*k.int_field, k.int_default, k.section, k.key);
        else
            ReadStringSetting(parsed, config.*k.text_field, k.text_default, k.section, k.key);
    }
    ReadSongFolders(parsed, config);
    ApplyCorrections(config);
}

}  // namespace

ConfigState LoadConfig(ConfigRecord& config) {
    tinyxml2::XMLDocument doc(true, tinyxml2::PRESERVE_WHITESPACE);
    const ConfigState state = ReadConfigDocument(doc);
    FillConfig(state == ConfigState::Read ? &doc : nullptr, config);
    return state;
}

ConfigState ParseConfig(ConfigRecord& config, std::string_view bytes) {
    tinyxml2::XMLDocument doc(true, tinyxml2::PRESERVE_WHITESPACE);
    const ConfigState state = ParseConfigDocument(doc, bytes);
    FillConfig(state == ConfigState::Read ? &doc : nullptr, config);
    return state;
}

ConfigState ReadConfigDocument(tinyxml2::XMLDocument& doc) {
    if (!PathExists(kConfigPath)) return ConfigState::Missing;
    std::string bytes;
    if (!ReadWholeFile(kConfigPath, bytes)) return ConfigState::Unreadable;
    return ParseConfigDocument(doc, bytes);
}

ConfigState ParseConfigDocument(tinyxml2::XMLDocument& doc, std::string_view bytes) {
    const std::string text = DecodeCharacterReferences(bytes);
    // The parser stops at a NUL: a file holding one is not what it seems.
    if (text.find('\0') != std::string::npos) return ConfigState::Unreadable;
    if (doc.Parse(text.data(), text.size()) != tinyxml2::XML_SUCCESS)
        return ConfigState::Unreadable;
    return ConfigState::Read;
}

}  // namespace qv5
