// Every blit loop variant this processor runs against the portable loops:
// keyed copies and stretches over random surfaces, keys and rectangles in
// every pixel size must leave identical bytes, inside and outside the
// rectangle. Variants the processor cannot run are skipped by name.
#include "platform/soft/blit_loops.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace {

// A pixel buffer of exactly rows x pitch bytes, so a loop that reads or
// writes past the last row's end is caught by the address sanitizer.
struct Buffer {
  int32_t width = 0;
  int32_t height = 0;
  int32_t bytes = 0;
  int64_t pitch = 0;
  std::vector<uint8_t> data;
};

uint32_t Mask(int32_t bytes) { return bytes == 4 ? 0xFFFFFFFFu : (1u << (8 * bytes)) - 1u; }

void Store(Buffer &b, int32_t x, int32_t y, uint32_t value) {
  uint8_t *p = b.data.data() + y * b.pitch + int64_t{x} * b.bytes;
  for (int32_t i = 0; i < b.bytes; ++i) {
    p[i] = static_cast<uint8_t>(value >> (8 * i));
  }
}

class Random {
public:
  explicit Random(uint32_t seed) : gen_(seed) {}
  int32_t Between(int32_t lo, int32_t hi) {
    return std::uniform_int_distribution<int32_t>(lo, hi)(gen_);
  }
  uint32_t Word() { return static_cast<uint32_t>(gen_()); }
  bool OneIn(int32_t n) { return Between(1, n) == 1; }

private:
  std::mt19937 gen_;
};

// Row widths around the vector sizes come up often; pitches are sometimes
// exactly the row's bytes and sometimes padded.
int32_t Side(Random &rnd, int32_t bytes) {
  if (rnd.OneIn(3)) {
    const int32_t edge = 32 / bytes * rnd.Between(1, 3);
    return std::max(1, edge + rnd.Between(-2, 2));
  }
  return rnd.Between(1, 90);
}

Buffer MakeBuffer(Random &rnd, int32_t bytes, int32_t w, int32_t h) {
  Buffer b;
  b.width = w;
  b.height = h;
  b.bytes = bytes;
  b.pitch = int64_t{w} * bytes + (rnd.OneIn(2) ? 0 : rnd.Between(1, 9));
  b.data.resize(static_cast<size_t>(b.pitch * h));
  for (uint8_t &v : b.data) {
    v = static_cast<uint8_t>(rnd.Word());
  }
  return b;
}

// Source pixels: the key, values one bit or one byte away from it, and
// random values, so partial matches are common.
// Source pixels as a sprite has them: runs of key pixels and runs of other
// values (any value but the key) of random lengths, so a vector may hold a
// few key pixels among many others, or none at all.
void PaintRuns(Random &rnd, Buffer &b, uint32_t key) {
  const uint32_t mask = Mask(b.bytes);
  bool keyRun = rnd.OneIn(2);
  int32_t left = rnd.Between(1, 40);
  for (int32_t y = 0; y < b.height; ++y) {
    for (int32_t x = 0; x < b.width; ++x, --left) {
      if (left == 0) {
        keyRun = !keyRun;
        left = rnd.Between(1, 40);
      }
      uint32_t v = rnd.Word() & mask;
      Store(b, x, y, keyRun ? key & mask : (v == (key & mask) ? v ^ 1u : v));
    }
  }
}

void PaintAroundKey(Random &rnd, Buffer &b, uint32_t key) {
  if (rnd.OneIn(3)) {
    PaintRuns(rnd, b, key);
    return;
  }
  const uint32_t mask = Mask(b.bytes);
  for (int32_t y = 0; y < b.height; ++y) {
    for (int32_t x = 0; x < b.width; ++x) {
      uint32_t v;
      switch (rnd.Between(0, 5)) {
      case 0:
      case 1:
        v = key;
        break;
      case 2:
        v = key ^ (1u << rnd.Between(0, 8 * b.bytes - 1));
        break;
      case 3:
        v = key ^ (0xFFu << (8 * rnd.Between(0, b.bytes - 1)));
        break;
      default:
        v = rnd.Word();
        break;
      }
      Store(b, x, y, v & mask);
    }
  }
  // A run of key pixels and runs without any (values near the key, and any
  // values but the key), so whole vectors of each kind occur.
  const int32_t y = rnd.Between(0, b.height - 1);
  for (int32_t x = 0; x < b.width / 2; ++x) {
    Store(b, x, y, key & mask);
  }
  const int32_t near = rnd.Between(0, b.height - 1);
  const int32_t any = rnd.Between(0, b.height - 1);
  for (int32_t x = b.width / 2; x < b.width; ++x) {
    Store(b, x, near, (key ^ (1u << rnd.Between(0, 8 * b.bytes - 1))) & mask);
    uint32_t v = rnd.Word() & mask;
    Store(b, x, any, v == (key & mask) ? v ^ 1u : v);
  }
}

uint32_t RandomKey(Random &rnd, int32_t bytes) {
  const uint32_t key = rnd.Word();
  // Now and then a key with bits above the pixel size: it matches nothing.
  return rnd.OneIn(10) ? key : key & Mask(bytes);
}

struct Rect {
  int32_t x;
  int32_t y;
  int32_t w;
  int32_t h;
};

Rect Inside(Random &rnd, const Buffer &b, int32_t maxW, int32_t maxH) {
  const int32_t w = rnd.Between(1, std::min(b.width, maxW));
  const int32_t h = rnd.Between(1, std::min(b.height, maxH));
  return {rnd.Between(0, b.width - w), rnd.Between(0, b.height - h), w, h};
}

soft::ConstPixelArea ConstArea(const Buffer &b, const Rect &r) {
  return {b.data.data() + r.y * b.pitch + int64_t{r.x} * b.bytes, b.pitch, r.w, r.h};
}

soft::PixelArea Area(Buffer &b, const Rect &r) {
  return {b.data.data() + r.y * b.pitch + int64_t{r.x} * b.bytes, b.pitch, r.w, r.h};
}

// The parameter naming the device's own loops: per operation and pixel
// size the variant it chose, reached through its dispatch.
constexpr int32_t kActive = -1;

class BlitVariant : public ::testing::TestWithParam<int32_t> {
protected:
  void SetUp() override {
    if (GetParam() == kActive) {
      variant = {"active", &soft::ActiveBlitLoops(), true};
      return;
    }
    int32_t count = 0;
    const soft::BlitLoopVariant *all = soft::BlitLoopVariants(&count);
    if (GetParam() >= count) {
      GTEST_SKIP() << "no variant " << GetParam() << " in this build";
    }
    variant = all[GetParam()];
    if (!variant.runs) {
      GTEST_SKIP() << "skipped: this processor does not run the " << variant.name << " loops";
    }
  }
  soft::BlitLoopVariant variant{};
};

TEST_P(BlitVariant, KeyedCopyMatchesThePortableLoop) {
  const soft::BlitLoops &ref = soft::PortableBlitLoops();
  for (int32_t bytes = 1; bytes <= 4; ++bytes) {
    Random rnd(1000u + static_cast<uint32_t>(bytes));
    for (int32_t round = 0; round < 400; ++round) {
      const uint32_t key = RandomKey(rnd, bytes);
      Buffer src = MakeBuffer(rnd, bytes, Side(rnd, bytes), rnd.Between(1, 24));
      PaintAroundKey(rnd, src, key);
      Buffer want = MakeBuffer(rnd, bytes, Side(rnd, bytes), rnd.Between(1, 24));
      const Rect from = Inside(rnd, src, want.width, want.height);
      const Rect to{rnd.Between(0, want.width - from.w), rnd.Between(0, want.height - from.h),
                    from.w, from.h};
      Buffer got = want;
      ref.copyKeyed(ConstArea(src, from), Area(want, to), bytes, key);
      variant.loops->copyKeyed(ConstArea(src, from), Area(got, to), bytes, key);
      ASSERT_EQ(got.data, want.data) << variant.name << ", " << bytes * 8 << " bits, round "
                                     << round << ", key " << key << ", " << from.w << "x" << from.h;
    }
  }
}

TEST_P(BlitVariant, StretchMatchesThePortableLoopKeyedOrNot) {
  const soft::BlitLoops &ref = soft::PortableBlitLoops();
  for (int32_t bytes = 1; bytes <= 4; ++bytes) {
    Random rnd(2000u + static_cast<uint32_t>(bytes));
    for (int32_t round = 0; round < 300; ++round) {
      const uint32_t key = RandomKey(rnd, bytes);
      const bool keyed = !rnd.OneIn(4);
      Buffer src = MakeBuffer(rnd, bytes, Side(rnd, bytes), rnd.Between(1, 40));
      PaintAroundKey(rnd, src, key);
      // Now and then a destination wider than one pass of the gathered row.
      const int32_t dstW = rnd.OneIn(15) ? rnd.Between(500, 1200) : Side(rnd, bytes);
      Buffer want = MakeBuffer(rnd, bytes, dstW, rnd.Between(1, 40));
      const Rect from = Inside(rnd, src, src.width, src.height);
      const Rect to = Inside(rnd, want, want.width, want.height);
      Buffer got = want;
      ref.stretch(ConstArea(src, from), Area(want, to), bytes, keyed, key);
      variant.loops->stretch(ConstArea(src, from), Area(got, to), bytes, keyed, key);
      ASSERT_EQ(got.data, want.data)
          << variant.name << ", " << bytes * 8 << " bits, round " << round << ", "
          << (keyed ? "keyed " : "") << from.w << "x" << from.h << " to " << to.w << "x" << to.h;
    }
  }
}

TEST_P(BlitVariant, PlainCopyMatchesThePortableLoop) {
  const soft::BlitLoops &ref = soft::PortableBlitLoops();
  Random rnd(3000u);
  for (int32_t round = 0; round < 100; ++round) {
    const int32_t bytes = rnd.Between(1, 4);
    Buffer src = MakeBuffer(rnd, bytes, Side(rnd, bytes), rnd.Between(1, 20));
    Buffer want = MakeBuffer(rnd, bytes, Side(rnd, bytes), rnd.Between(1, 20));
    const Rect from = Inside(rnd, src, want.width, want.height);
    const Rect to{rnd.Between(0, want.width - from.w), rnd.Between(0, want.height - from.h), from.w,
                  from.h};
    Buffer got = want;
    ref.copy(ConstArea(src, from), Area(want, to), bytes);
    variant.loops->copy(ConstArea(src, from), Area(got, to), bytes);
    ASSERT_EQ(got.data, want.data) << variant.name << ", round " << round;
  }
}

std::string VariantName(const ::testing::TestParamInfo<int32_t> &info) {
  if (info.param == kActive) {
    return "active";
  }
  int32_t count = 0;
  const soft::BlitLoopVariant *all = soft::BlitLoopVariants(&count);
  return info.param < count ? all[info.param].name : "missing" + std::to_string(info.param);
}

// The portable loops compared with themselves would prove nothing: start at
// the first faster variant. x86 builds carry three. The device's own mix of
// them is held to the portable loops too.
INSTANTIATE_TEST_SUITE_P(AllVariants, BlitVariant, ::testing::Values(1, 2, 3, kActive),
                         VariantName);

// For every operation and pixel size the device names a variant of this
// build that this processor runs; other sizes fall back to portable.
TEST(BlitVariants, EachChoiceIsAVariantThatRuns) {
  int32_t count = 0;
  const soft::BlitLoopVariant *all = soft::BlitLoopVariants(&count);
  ASSERT_GE(count, 1);
  EXPECT_STREQ(all[0].name, "portable");
  EXPECT_TRUE(all[0].runs);
  for (const soft::BlitOp op : {soft::BlitOp::KeyedCopy, soft::BlitOp::Stretch}) {
    for (int32_t bytes = 0; bytes <= 5; ++bytes) {
      const std::string chosen = soft::ActiveBlitVariant(op, bytes);
      SCOPED_TRACE(std::to_string(bytes) + " bytes: " + chosen);
      if (bytes < 1 || bytes > 4) {
        EXPECT_EQ(chosen, "portable");
        continue;
      }
      bool runs = false;
      for (int32_t i = 0; i < count; ++i) {
        runs = runs || (chosen == all[i].name && all[i].runs);
      }
      EXPECT_TRUE(runs);
    }
  }
}

} // namespace
