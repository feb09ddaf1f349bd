#include "player/notice.h"

#include "platform/ui_service.h"

namespace qv5 {

Tell ShowOn(QWidget* owner) {
    return [owner](const Notice& n) { ShowMessage(owner, n.text, n.caption); };
}

void ShowNotices(QWidget* owner, const std::vector<Notice>& notices) {
    for (const Notice& n : notices) ShowMessage(owner, n.text, n.caption);
}

}  // namespace qv5
