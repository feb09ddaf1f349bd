#include "window/main/about.h"

#include <archive.h>
#include <curl/curl.h>
#include <sqlite3.h>

#include <QtGlobal>

#include "platform/tr.h"
#include "platform/ui_service.h"

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

void ShowAbout(QWidget* owner) {
    const std::string licence = Tr("About", "ライセンス: MIT (Copyright (c) QV5 SETUP developers)");
    Ui().MessageBox(owner, VersionText() + "\n" + licence, Tr("About", "QV5 SETUPについて"),
                    MsgButtons::Ok, MsgIcon::Information);
}

}  // namespace qv5
