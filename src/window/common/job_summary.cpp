#include "window/common/job_summary.h"

#include <QLabel>
#include <QWidget>

#include "platform/text.h"

namespace qv5 {

void ShowJobSummary(QWidget* owner, const std::string& cp932_text) {
    if (!owner) return;
    if (auto* line = owner->window()->findChild<QLabel*>(QStringLiteral("jobSummary")))
        line->setText(ToQString(cp932_text));
}

}  // namespace qv5
