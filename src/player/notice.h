// A message the core hands back for the caller to show (a box in the window,
// a line on stderr on the command line).
#pragma once

#include <functional>
#include <string>
#include <vector>

class QWidget;

namespace qv5 {

struct Notice {
    std::string text;     // CP932
    std::string caption;  // CP932
};

// Shows one message and returns once the person has seen it.
using Tell = std::function<void(const Notice&)>;

// A Tell that shows each message as an OK box owned by `owner`.
Tell ShowOn(QWidget* owner);

// Shows each as an OK box owned by `owner`, in order.
void ShowNotices(QWidget* owner, const std::vector<Notice>& notices);

}  // namespace qv5
