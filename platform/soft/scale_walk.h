// scale_walk.h - the source positions of a nearest-pixel scale.
#ifndef VANTREL_PLATFORM_SOFT_SCALE_WALK_H
#define VANTREL_PLATFORM_SOFT_SCALE_WALK_H

#include <cstdint>

namespace soft {
// Internal linkage: the loop variants built for different instruction sets
// each keep their own copy.
namespace {

// Walks the source positions of a nearest-pixel scale from `srcLen` to
// `dstLen`: step i is floor((2i + 1) * srcLen / (2 * dstLen)), the source
// pixel under the centre of destination pixel i. Exact integer arithmetic.
class ScaleWalk {
public:
  ScaleWalk(int64_t srcLen, int64_t dstLen)
      : den_(2 * dstLen), pos_(srcLen / den_), rem_(srcLen % den_), stepPos_(2 * srcLen / den_),
        stepRem_(2 * srcLen % den_) {}
  int64_t Position() const { return pos_; }
  void Next() {
    pos_ += stepPos_;
    rem_ += stepRem_;
    if (rem_ >= den_) {
      ++pos_;
      rem_ -= den_;
    }
  }

private:
  int64_t den_;
  int64_t pos_;
  int64_t rem_;
  int64_t stepPos_;
  int64_t stepRem_;
};

} // namespace
} // namespace soft

#endif
