// Interface language: control captions in Japanese or English.
#pragma once

#include <string>
#include <vector>

namespace qv5 {

struct Caption {
    int page;  // tab index, -1 for the main window itself
    int control;
    const char8_t* japanese;
    const char* english;
};

const std::vector<Caption>& Captions();

// Picks the text of a message that exists in both languages.
std::string Localized(int language, const char8_t* japanese, const char* english);

}  // namespace qv5
