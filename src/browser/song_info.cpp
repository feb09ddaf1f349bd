#include "browser/song_info.h"

#include <cstdint>

#include "library/chart_header.h"
#include "library/display_text.h"
#include "library/song_list.h"
#include "library/tag_editor.h"
#include "platform/text.h"

namespace qv5 {
namespace {

std::string ScoreLine(const ChartRecord& r) {
    if (r.clear < 1 || r.note_count < 1) return "[SCORE] NOT PLAYED";
    // 64-bit: a hostile score row must not overflow the percentage.
    const std::int64_t ex = 2 * std::int64_t{r.perfect} + r.great;
    const std::int64_t max = 2 * std::int64_t{r.note_count};
    return "[SCORE] " + std::to_string(ex) + "/" + std::to_string(max) + " (" +
           std::to_string(ex * 100 / max) + "%) " + ClearLampName(r.clear);
}

}  // namespace

SongInfo SongInfoLines(const ChartRecord& r) {
    SongInfo lines;
    lines[0] = r.subtitle.empty() ? "[TITLE] " + r.title : "[TITLE] " + r.title + " " + r.subtitle;
    lines[1] = "[GENRE] " + r.genre;
    lines[2] =
        r.subartist.empty() ? "[ARTIST] " + r.artist : "[ARTIST]" + r.artist + "/" + r.subartist;
    lines[3] = r.exlevel < 1 ? "[LEVEL] " + std::to_string(r.level)
                             : Sj(u8"[LEVEL] ☆") + std::to_string(r.level) + Sj(u8" / ★") +
                                   std::to_string(r.exlevel);
    lines[4] = ScoreLine(r);
    lines[5] = r.mode == 9 ? "[MODE] 9BUTTONS" : "[MODE] " + std::to_string(r.mode) + "KEYS";
    return lines;
}

SongInfo SongInfoLines(SongLibrary& library, const WinPath& chart_path_path) {
    const std::string& chart_path = chart_path_path.text();
    ChartRecord r;
    if (!LoadChartAsShown(library, WinPath(chart_path), r)) return SongInfo{};
    // A UTF-8 chart's texts lost the bytes that have no Shift-JIS meaning in
    // the library; where the header's text is the one stored, it is shown.
    ChartRecord header;
    if (ReadChartHeader(header, chart_path)) {
        std::string* shown[] = {&r.title, &r.subtitle, &r.genre, &r.artist, &r.subartist};
        const std::string* read[] = {&header.title, &header.subtitle, &header.genre,
                                     &header.artist, &header.subartist};
        for (size_t k = 0; k < 5; ++k)
            if (*shown[k] != *read[k] && ReadsAsUtf8(*read[k]) &&
                Utf8ToCp932Lossy(Cp932ToUtf8(*read[k])) == *shown[k])
                *shown[k] = *read[k];
    }
    return SongInfoLines(r);
}

}  // namespace qv5
