#include "window/language.h"

#include <QAbstractButton>
#include <QLabel>

#include "window/controls.h"
#include "window/main_window.h"
#include "window/page.h"
#include "platform/text.h"
#include "platform/translation.h"
#include "window/recaption.h"

namespace qv5 {

std::string Localized(int language, const char8_t* japanese, const char* english) {
    return language == 1 ? std::string(english) : Sj(japanese);
}

void ApplyLanguage(MainWindow& dlg, int language) {
    UseLanguage(language);
    RecaptionAll();
    dlg.SetMenuLanguage(language);
    for (const Caption& c : Captions()) {
        QObject* owner = c.page < 0 ? static_cast<QObject*>(&dlg) : dlg.PageAt(c.page);
        QString text = language == 1 ? QString::fromUtf8(c.english)
                                     : QString::fromUtf8(reinterpret_cast<const char*>(c.japanese));
        // The main window's own buttons are found among its direct children only.
        auto options = c.page < 0 ? Qt::FindDirectChildrenOnly : Qt::FindChildrenRecursively;
        QWidget* w = owner->findChild<QWidget*>(QString::number(c.control), options);
        if (auto* b = qobject_cast<QAbstractButton*>(w))
            b->setText(text);
        else if (auto* l = qobject_cast<QLabel*>(w))
            l->setText(text);
    }
}

}  // namespace qv5
