// The pages that have no controls of their own yet.
#pragma once

#include "app/page.h"

namespace qv5 {

class CTabCustomFolder : public Page {
    Q_OBJECT
  public:
    using Page::Page;
};

class CTabSub : public Page {
    Q_OBJECT
  public:
    using Page::Page;
};

class cTabSub2 : public Page {
    Q_OBJECT
  public:
    using Page::Page;
};

class CTabSystem : public Page {
    Q_OBJECT
  public:
    using Page::Page;
};

}  // namespace qv5
