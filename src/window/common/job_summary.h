// What a long job of the window did, said on the window's status line once
// its own closing message (if any) has been shown. The texts themselves are
// made in library/job_text.h, where the command line finds them too.
#pragma once

#include <string>

#include "library/job_text.h"

class QWidget;

namespace qv5 {

// Sets the status line of the window `owner` belongs to (the label named
// "jobSummary"); nothing when it has none.
void ShowJobSummary(QWidget* owner, const std::string& cp932_text);

}  // namespace qv5
