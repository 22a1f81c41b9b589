// Spacing idle turns for --fps-cap: when each turn may run.
#include "base/idle_pacing.h"

#include <gtest/gtest.h>
#include <vector>

namespace {

using vantrel::IdlePacer;

TEST(IdlePacing, PeriodIsRoundedUpSoTheRateIsNeverExceeded) {
  const struct {
    int32_t perSecond;
    uint64_t ticksPerSecond;
    uint64_t period;
  } table[] = {
      {60, 1000, 17}, // 16.67 ms: 17, never 16
      {60, 1000000000, 16666667},
      {1, 1000, 1000},
      {1000, 1000, 1},
      {10000, 1000, 1}, // finer than the counter: every tick
      {0, 1000, 0},     // no cap
      {-5, 1000, 0},    // nonsense: no cap
      {60, 0, 0},       // no counter: no cap
  };
  for (const auto &row : table) {
    EXPECT_EQ(vantrel::MakeIdlePacer(row.perSecond, row.ticksPerSecond).period, row.period)
        << row.perSecond << " a second on " << row.ticksPerSecond;
  }
}

// A run of peeks at the given times: each answers the ticks to wait, and a
// peek that may run its turn takes it.
struct Peek {
  uint64_t now;
  uint64_t wait; // expected
};

TEST(IdlePacing, TurnsFollowTheScheduleAndLateOnesDoNotBurst) {
  const struct {
    const char *what;
    std::vector<Peek> peeks;
  } table[] = {
      {"on time", {{1000, 0}, {1005, 5}, {1010, 0}, {1019, 1}, {1020, 0}}},
      // Late by less than a period: the next stays on the old schedule.
      {"a little late", {{0, 0}, {13, 0}, {15, 5}, {20, 0}}},
      // Late by a whole period or more: a new schedule from the late turn,
      // not two turns at once.
      {"much too late", {{0, 0}, {35, 0}, {36, 9}, {45, 0}}},
      {"exactly one period late", {{0, 0}, {20, 0}, {21, 9}, {30, 0}}},
  };
  for (const auto &row : table) {
    IdlePacer pacer = vantrel::MakeIdlePacer(100, 1000); // every 10 ticks
    for (const Peek &p : row.peeks) {
      const uint64_t wait = vantrel::TicksUntilTurn(pacer, p.now);
      EXPECT_EQ(wait, p.wait) << row.what << " at " << p.now;
      if (wait == 0) {
        vantrel::TakeTurn(&pacer, p.now);
      }
    }
  }
}

TEST(IdlePacing, OverALongRunTheRateHoldsWithRoundedUpWaits) {
  // Waits are whole milliseconds rounded up, as the peek waits: 60 turns a
  // second on a microsecond counter still come 60 a second, not fewer.
  IdlePacer pacer = vantrel::MakeIdlePacer(60, 1000000);
  uint64_t now = 0;
  int turns = 0;
  while (now < 10000000) { // ten seconds
    const uint32_t ms = vantrel::TakeTurnOrWaitMs(&pacer, now, 1000000);
    if (ms == 0) {
      ++turns;
      continue;
    }
    now += uint64_t{ms} * 1000;
  }
  EXPECT_GE(turns, 599);
  EXPECT_LE(turns, 601);
}

} // namespace
