// The pages that have no controls of their own yet.
#pragma once

#include "app/page.h"

namespace qv5 {

class CustomFolderPage : public Page {
    Q_OBJECT
  public:
    using Page::Page;
};

class OptionPage : public Page {
    Q_OBJECT
  public:
    using Page::Page;
};

class SelectPage : public Page {
    Q_OBJECT
  public:
    using Page::Page;
};

class SystemPage : public Page {
    Q_OBJECT
  public:
    using Page::Page;
};

}  // namespace qv5
