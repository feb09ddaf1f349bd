// The text layer's boundary with Qt, apart so that the library commands
// start without loading Qt.
#include <QString>

#include "platform/text.h"

namespace qv5 {

QString ToQString(std::string_view cp932) {
    std::string u = Cp932ToUtf8(cp932);
    return QString::fromUtf8(u.data(), static_cast<qsizetype>(u.size()));
}

std::string FromQString(const QString& s) {
    return Utf8ToCp932Lossy(s.toStdString());
}

}  // namespace qv5
