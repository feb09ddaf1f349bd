#include "platform/translation.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include "platform/tr.h"

namespace qv5 {
namespace {

QTranslator& English() {
    static QTranslator* english = [] {
        auto* t = new QTranslator;
        // Compiled from translations/qv5_en.ts into the program's resources.
        (void)t->load(QStringLiteral(":/i18n/qv5_en.qm"));
        return t;
    }();
    return *english;
}

// Qt's catalogue for its standard buttons, where the system has it.
QTranslator& QtBase() {
    static QTranslator* base = new QTranslator;
    return *base;
}

std::string LookUp(const char* context, const char* source, int n) {
    return English().translate(context, source, nullptr, n).toStdString();
}

}  // namespace

void UseLanguage(int language) {
    SetCatalogue(language == 1 ? &LookUp : nullptr);
    if (!QCoreApplication::instance()) return;
    QCoreApplication::removeTranslator(&English());
    QTranslator& base = QtBase();
    QCoreApplication::removeTranslator(&base);
    const QLocale locale(LanguageInUse() == 1 ? QLocale::English : QLocale::Japanese);
    if (base.load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                  QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(&base);
    if (LanguageInUse() == 1) QCoreApplication::installTranslator(&English());
}

}  // namespace qv5
