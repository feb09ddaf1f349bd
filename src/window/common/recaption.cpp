#include "window/common/recaption.h"

#include <QApplication>
#include <QStringList>
#include <QVariant>
#include <QWidget>

#include "platform/text.h"
#include "platform/tr.h"

namespace qv5 {
namespace {

// The dynamic property that keeps {context, source} of the caption in
// property <name>.
const QByteArray kPrefix = QByteArrayLiteral("qv5Source_");

void Recaption(QObject* object) {
    for (const QByteArray& name : object->dynamicPropertyNames()) {
        if (!name.startsWith(kPrefix)) continue;
        const QStringList source = object->property(name.constData()).toStringList();
        if (source.size() != 2) continue;
        const QByteArray context = source[0].toUtf8(), japanese = source[1].toUtf8();
        object->setProperty(name.mid(kPrefix.size()).constData(),
                            QTr(context.constData(), japanese.constData()));
    }
}

}  // namespace

QString QTr(const char* context, const char* japanese) {
    return ToQString(Tr(context, japanese));
}

void SetCaption(QObject* target, const char* property, const char* context, const char* japanese) {
    target->setProperty((kPrefix + property).constData(),
                        QStringList{QString::fromUtf8(context), QString::fromUtf8(japanese)});
    target->setProperty(property, QTr(context, japanese));
}

void RecaptionAll() {
    for (QWidget* top : QApplication::topLevelWidgets()) {
        Recaption(top);
        for (QObject* child : top->findChildren<QObject*>()) Recaption(child);
    }
}

}  // namespace qv5
