#include "window/main/about.h"

#include <archive.h>
#include <curl/curl.h>
#include <sqlite3.h>

#include <QtGlobal>

#include "platform/ui_service.h"
#include "window/main/language.h"

namespace qv5 {

std::string VersionText() {
    // The versions of the libraries in use, not those built against: a
    // system update changes them without a rebuild.
    std::string text = std::string("QV5 SETUP ") + QV5_VERSION + "\n";
    text += std::string("Qt ") + qVersion() + "\n";
    text += std::string("SQLite ") + sqlite3_libversion() + "\n";
    text += std::string(archive_version_string()) + "\n";
    text += std::string("libcurl ") + curl_version_info(CURLVERSION_NOW)->version + "\n";
    return text;
}

void ShowAbout(QWidget* owner, int language) {
    const std::string licence =
        Localized(language, u8"ライセンス: MIT (Copyright (c) QV5 SETUP developers)",
                  "Licence: MIT (Copyright (c) QV5 SETUP developers)");
    Ui().MessageBox(owner, VersionText() + "\n" + licence,
                    Localized(language, u8"QV5 SETUPについて", "About QV5 SETUP"), MsgButtons::Ok,
                    MsgIcon::Information);
}

}  // namespace qv5
