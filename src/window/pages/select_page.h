// The SELECT page: the song select's filters and level bar maxima.
#pragma once

#include "window/pages/page.h"

namespace qv5 {

class SelectPage : public Page {
    Q_OBJECT
  public:
    explicit SelectPage(QWidget* parent = nullptr);
};

}  // namespace qv5
