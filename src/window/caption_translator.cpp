#include "window/caption_translator.h"

#include <QCoreApplication>
#include <QHash>
#include <QString>
#include <QTranslator>

namespace qv5 {

extern const char* const kCaptionTable;  // generated from translations/*.tsv

namespace {

class TableTranslator : public QTranslator {
  public:
    TableTranslator() {
        const QStringList lines = QString::fromUtf8(kCaptionTable).split(QLatin1Char('\n'));
        for (const QString& line : lines) {
            const QStringList f = line.split(QLatin1Char('\t'));
            if (f.size() == 3) english_.insert(f[0] + QLatin1Char('\t') + f[1], f[2]);
        }
    }
    bool isEmpty() const override { return english_.isEmpty(); }
    QString translate(const char* context, const char* source, const char*, int) const override {
        return english_.value(QString::fromUtf8(context) + QLatin1Char('\t') +
                              QString::fromUtf8(source));
    }

  private:
    QHash<QString, QString> english_;
};

}  // namespace

void UseCaptionLanguage(int language) {
    static TableTranslator* translator = nullptr;
    if (!QCoreApplication::instance()) return;
    if (language == 1 && !translator) {
        translator = new TableTranslator;
        QCoreApplication::installTranslator(translator);
    } else if (language != 1 && translator) {
        QCoreApplication::removeTranslator(translator);
        delete translator;
        translator = nullptr;
    }
}

}  // namespace qv5
