// The locale Windows programs run in under Wine. Wine gives a program the ANSI
// code page of the Unix locale; the game body and the other Windows programs
// are made for the Japanese one (932) and read the library's CP932 paths as
// bytes, so they need a Japanese locale whatever the user's own is.
#pragma once

#include <string>

namespace qv5 {

struct WineLocale {
    std::string name;        // QV5_WINE_LOCALE when set, else ja_JP.UTF-8
    bool available = false;  // the system has it
};

WineLocale ChooseWineLocale();

// Why Windows programs run without it and how to make it (CP932).
std::string MissingWineLocaleNotice(const std::string& name);

}  // namespace qv5
