// Walking a chain of records that may be bent into a loop.
#include "base/cycle_guard.h"

#include <gtest/gtest.h>
#include <vector>

namespace {

// Every chain of up to 40 records, ending or bent back to each of its
// records: the count of distinct records, or no loop.
TEST(ChainWalk, CountsEachRecordOnceBeforeTheLoop) {
  struct Link {
    const Link *next = nullptr;
  };
  const auto next = [](const Link *l) { return l->next; };
  EXPECT_EQ(vantrel::DistinctBeforeLoop(static_cast<const Link *>(nullptr), next),
            vantrel::kNoLoop);
  for (int n = 1; n <= 40; ++n) {
    std::vector<Link> links(static_cast<size_t>(n));
    for (int to = -1; to < n; ++to) {
      for (int i = 0; i + 1 < n; ++i) {
        links[i].next = &links[i + 1];
      }
      links[n - 1].next = to < 0 ? nullptr : &links[to];
      EXPECT_EQ(vantrel::DistinctBeforeLoop(&links[0], next),
                to < 0 ? vantrel::kNoLoop : static_cast<uint64_t>(n))
          << n << " records, the last back to " << to;
    }
  }
}

} // namespace
