#include "platform/wine_locale.h"

#include <locale.h>

#include <cstdlib>

namespace qv5 {

WineLocale ChooseWineLocale() {
    WineLocale chosen;
    const char* env = std::getenv("QV5_WINE_LOCALE");
    chosen.name = env && *env ? env : "ja_JP.UTF-8";
    // Asks the C library as Wine's own setlocale will: a name it cannot load
    // would leave Wine in the "C" locale and code page 1252.
    if (locale_t loc = newlocale(LC_ALL_MASK, chosen.name.c_str(), locale_t{})) {
        freelocale(loc);
        chosen.available = true;
    }
    return chosen;
}

std::string MissingWineLocaleNotice(const std::string& name) {
    return "The locale " + name +
           " is not on this system, so Windows programs run under Wine without it and "
           "cannot open files with Japanese names. Make it as root (Debian: apt-get install "
           "locales && localedef -i ja_JP -f UTF-8 ja_JP.UTF-8), or set QV5_WINE_LOCALE to a "
           "Japanese UTF-8 locale the system has.";
}

}  // namespace qv5
