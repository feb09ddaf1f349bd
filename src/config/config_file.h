// config.xml: reading it into the record and writing it back byte-exactly.
#pragma once

#include <string>

#include "config/config_record.h"

namespace tinyxml2 {
class XMLDocument;
}

namespace qv5 {

inline constexpr const char* kConfigPath = "QV5files\\Config\\config.xml";

// Writes the record to config.xml (a temporary file renamed over the old one).
// 1 when written, 0 when not (the old file is then unchanged).
int SaveConfig(const ConfigRecord& config);
// Fills every field from config.xml or with its default; never fails.
void LoadConfig(ConfigRecord& config);

// The whole file content SaveConfig writes.
std::string FormatConfig(const ConfigRecord& config);

// Append one element line ("\t\t<key>value</key>\r\n") to `out`.
void WriteIntLine(std::int32_t value, std::string& out, const char* key);
void WriteTextLine(const std::string& text, const char* key, std::string& out);
std::string EscapeXmlText(const std::string& text);

// Read config/section/key: 1 found, -1 not found (default taken), 0 no document.
int ReadIntSetting(const tinyxml2::XMLDocument* doc, std::int32_t& field, std::int32_t def,
                   const char* section, const char* key);
int ReadStringSetting(const tinyxml2::XMLDocument* doc, std::string& field, const char* def,
                      const char* section, const char* key);

// The number at the start of a text: blanks skipped, optional sign, digits;
// 0 without digits. Saturates at the 32-bit range.
std::int32_t LeadingNumber(const char* text);

}  // namespace qv5
