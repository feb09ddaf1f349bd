// Captions that follow the interface language. A widget or action given its
// caption here keeps the Japanese source beside it, so that a change of
// language sets every open one again.
#pragma once

#include <QString>

class QObject;

namespace qv5 {

// The caption in the language in use (see platform/tr.h).
QString QTr(const char* context, const char* japanese);

// Sets target's property (text, title, windowTitle, toolTip...) to the
// translation of japanese and remembers the source.
void SetCaption(QObject* target, const char* property, const char* context, const char* japanese);

// Sets every remembered caption of every open window again.
void RecaptionAll();

}  // namespace qv5
