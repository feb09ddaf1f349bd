// The program's own paths: CP932 text in Windows form, "\" between the
// components ("/" parts them too, as on Windows), relative to the program
// directory or absolute with a drive. A folder may be written with a trailing
// "\" (its folder form), a file never is.
//
// Everything here goes character by character: the trail byte of a
// double-byte character ("表" is 0x95 0x5C, "ソ" 0x83 0x5C) is never a
// separator, so "曲\ソ" is a path without a trailing separator.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace qv5 {

class WinPath {
  public:
    WinPath() = default;
    // Explicit: a text becomes a path where the caller says so, so that a
    // path is never taken for a name or a message by accident.
    explicit WinPath(std::string text) : text_(std::move(text)) {}
    explicit WinPath(const char* text) : text_(text) {}

    const std::string& text() const { return text_; }
    bool empty() const { return text_.empty(); }
    bool operator==(const WinPath&) const = default;

    // Ends with a separator.
    bool IsFolderForm() const;
    // With one trailing separator ("" gives "\").
    WinPath AsFolder() const;
    // Less its trailing separator, if it has one.
    WinPath AsFile() const;
    // The folder that holds the entry, in folder form: "songs\" for both
    // "songs\a.bms" and "songs\pack\"; "" for a bare name.
    WinPath Parent() const;
    // The last component, less a trailing separator: "pack" for "songs\pack\".
    std::string LastName() const;
    // `name` inside this folder.
    WinPath Join(std::string_view name) const;
    // This path is `folder` or lies below it, compared by whole components
    // and byte for byte: "songs\a" is not within "songs\ab" nor within "song".
    bool IsWithin(const WinPath& folder) const;

    // The host path (UTF-8, "/"), as ToHostPath gives it.
    std::optional<std::string> ToHost() const;
    // From a host path, as FromHostPath takes it.
    static std::optional<WinPath> FromHost(std::string_view host);

  private:
    // Where the last component starts (after a trailing separator, the end).
    size_t NameStart() const;

    std::string text_;
};

// The parent of an entry that exists, in folder form, as the library stores it
// for a chart and its folder: the text "ERROR" when the entry is not there.
std::string ParentPath(std::string_view path);

}  // namespace qv5
