// config.xml: reading it into the record and writing it back byte-exactly.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "config/config_record.h"

namespace tinyxml2 {
class XMLDocument;
}

namespace qv5 {

inline constexpr const char* kConfigPath = "QV5files\\Config\\config.xml";
inline constexpr const char* kConfigFolder = "QV5files\\Config";

enum class ConfigState {
    Missing,     // no file: defaults
    Read,        // read
    Unreadable,  // a file that is no readable config.xml: defaults
};

// Writes the record to config.xml (a temporary file renamed over the old one,
// under the folder's lock). 1 when written, 0 when not (the old file is then
// unchanged). A file there that cannot be read is first kept beside itself as
// config.xml.unreadable-YYYYMMDD-HHMMSS; when that fails, nothing is written.
// On failure `error` (may be null) gets the file's host path and the
// system's reason (UTF-8), for the user to set things right.
int SaveConfig(const ConfigRecord& config, std::string* error = nullptr);
// SaveConfig for a program that keeps the record open while others change
// the file: under the lock, before the record is written, `merge` sees the
// file's record as it is now (null when there is no readable file) and
// takes into `config` what it must not lose of it.
int SaveConfigMerged(
    ConfigRecord& config,
    const std::function<void(const ConfigRecord* now, ConfigRecord& config)>& merge,
    std::string* error = nullptr);
// Fills every field from config.xml or with its default; never fails. Tells
// whether the file was there and readable (callers say so when it was not:
// UnreadableConfigMessage).
ConfigState LoadConfig(ConfigRecord& config);
// LoadConfig over config.xml's bytes already read: Read or Unreadable.
ConfigState ParseConfig(ConfigRecord& config, std::string_view bytes);
// What to tell the user, once, when LoadConfig found the file unreadable.
std::string UnreadableConfigMessage();

// A change of config.xml that must not lose a concurrent one: under the
// folder's lock the file is read afresh into `config`, `change` is applied
// and the result saved. False, with the file unchanged and `error` saying
// why, when the file exists but cannot be read, when `change` returns false
// (having set `error`) or when the save fails.
bool UpdateConfig(ConfigRecord& config,
                  const std::function<bool(ConfigRecord&, std::string&)>& change,
                  std::string& error);

// config.xml's bytes made ready for the parser, which would decode numeric
// character references to UTF-8 inside CP932 text: references to characters
// with a CP932 form become those bytes; the others are escaped, so they read
// back as written.
std::string DecodeCharacterReferences(std::string_view bytes);

// The whole file content SaveConfig writes.
std::string FormatConfig(const ConfigRecord& config);

// Append one element line ("\t\t<key>value</key>\r\n") to `out`.
void WriteIntLine(std::int32_t value, std::string& out, const char* key);
void WriteTextLine(const std::string& text, const char* key, std::string& out);
std::string EscapeXmlText(const std::string& text);

// Reads config.xml (with DecodeCharacterReferences) into `doc`.
ConfigState ReadConfigDocument(tinyxml2::XMLDocument& doc);
// The same over the file's bytes: Read or Unreadable.
ConfigState ParseConfigDocument(tinyxml2::XMLDocument& doc, std::string_view bytes);

// Read config/section/key: 1 found, -1 not found (default taken), 0 no document.
int ReadIntSetting(const tinyxml2::XMLDocument* doc, std::int32_t& field, std::int32_t def,
                   const char* section, const char* key);
int ReadStringSetting(const tinyxml2::XMLDocument* doc, std::string& field, const char* def,
                      const char* section, const char* key);

// The number at the start of a text: blanks skipped, optional sign, digits;
// 0 without digits. Saturates at the 32-bit range.
std::int32_t LeadingNumber(const char* text);

}  // namespace qv5
