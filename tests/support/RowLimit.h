/** @file A lower row limit for the length of one test. */
#pragma once

#include "textstore/LineStore.h"

namespace tw::test {

/// No test can fill 134 million rows; this lowers the limit instead.
class LowerRowLimit {
  public:
    explicit LowerRowLimit(int32_t limit) : old_(TVellStrings::RowLimit()) {
        TVellStrings::SetRowLimit(limit);
    }
    ~LowerRowLimit() { TVellStrings::SetRowLimit(old_); }
    LowerRowLimit(const LowerRowLimit&) = delete;
    LowerRowLimit& operator=(const LowerRowLimit&) = delete;

  private:
    int32_t old_;
};

}  // namespace tw::test
