// Controls are identified by their numbers, kept as object names.
#pragma once

#include <QString>
#include <QWidget>

namespace qv5 {

// Every dialog's OK and Cancel buttons (the default button and Escape's).
inline constexpr int kIdOk = 1;
inline constexpr int kIdCancel = 2;

inline void SetControlId(QObject* w, int id) {
    w->setObjectName(QString::number(id));
}

// A control of a page, or (direct) of the main window itself.
template <typename T = QWidget>
T* Control(const QObject* parent, int id, bool direct = false) {
    return parent->findChild<T*>(QString::number(id),
                                 direct ? Qt::FindDirectChildrenOnly : Qt::FindChildrenRecursively);
}

}  // namespace qv5
