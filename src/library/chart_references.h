// The files a chart names and uses: sounds (#WAVxx, #PREVIEW), pictures and
// movies (#BMPxx, #BGAxx bases, #STAGEFILE, #BANNER, #BACKBMP), and whether
// its folder holds them as the game body (under Wine) would look them up.
#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/files.h"

namespace qv5 {

// Collects a chart's references line piece by line piece. Every branch of
// #RANDOM / #IF blocks counts: a name defined, or an object placed, in any
// branch is used. A #WAVxx or #BMPxx counts only when a channel line places
// its id (#BMP00, the picture shown on a miss, always counts).
class ChartReferences {
  public:
    // `line` is the piece's text as the header pass sees it (ChartLineText),
    // `raw` the piece as read (objects are taken from it, as the header
    // pass takes them).
    // The names are kept as views into the lines given, which must outlive
    // this object, unless CopyNames() was called first (for lines read
    // piece by piece into a buffer that is reused).
    void Line(std::string_view raw, std::string_view line);
    void CopyNames() { copy_names_ = true; }
    // The names used, in the order of the file (#STAGEFILE, #BANNER,
    // #BACKBMP and #PREVIEW first, then sounds, then pictures); valid while
    // this object lives and is not given more lines.
    std::vector<std::string_view> UsedNames() const;

  private:
    struct Definition {
        int id;
        std::string_view name;
    };
    // One flag per id 00..ZZ.
    using Ids = std::array<std::uint8_t, 1296>;
    std::string_view Keep(std::string_view name);

    bool copy_names_ = false;
    std::deque<std::string> copies_;
    Ids used_sound_{}, used_picture_{};
    std::vector<Definition> sounds_, pictures_, always_;
    std::vector<std::pair<int, int>> bgas_;  // BGA id, the #BMP id it is cut from
};

// The names of one folder's entries, for lookups that ignore the case of
// ASCII letters as Wine does.
class FolderNames {
  public:
    explicit FolderNames(const std::vector<DirEntry>& entries);
    // The entries' names alone (a folder's names kept from an earlier listing).
    explicit FolderNames(const std::vector<std::string>& names);
    bool Has(std::string_view name) const;

  private:
    void MakeSlots();
    // A chart asks for some hundreds of names: one hash and, mostly, one
    // comparison each.
    std::vector<std::string> names_;
    std::vector<std::uint32_t> slots_;  // 0 for none, else 1 + the index in names_
};

// Whether the folder `dir` (with its trailing "\"), whose entries are `names`,
// holds the file `reference` as a chart names it: case ignored, "\" or "/"
// between folders, and another extension of the same kind accepted (sound:
// wav ogg flac mp3; picture: bmp png jpg jpeg; movie: mpg mpeg avi wmv mp4
// webm). Sub-folders are listed as needed.
bool ReferencePresent(const std::string& dir, const FolderNames& names, std::string_view reference);

}  // namespace qv5
