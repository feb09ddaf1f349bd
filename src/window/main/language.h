// Interface language: the control captions of the window and its pages.
#pragma once

#include <vector>

namespace qv5 {

// The catalogue context of the captions.
inline constexpr char kCaptionContext[] = "Captions";

struct Caption {
    int page;  // tab index, -1 for the main window itself
    int control;
    // The Japanese caption, the source of its English in the catalogue
    // (context kCaptionContext).
    const char* japanese;
    // The English window leaves the control empty: the note has no English.
    bool japanese_only = false;
};

const std::vector<Caption>& Captions();

}  // namespace qv5
