// Random operation sequences over several layers, run against the library and
// the reference model in list_model.h, compared after every step.
#include "list_model.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace {

using listmodel::Scene;

struct Rng {
  std::mt19937 gen;
  explicit Rng(uint32_t seed) : gen(seed) {}
  int Below(int n) { return static_cast<int>(gen() % static_cast<uint32_t>(n)); }
  int32_t Between(int32_t lo, int32_t hi) {
    const uint64_t span = static_cast<uint64_t>(int64_t{hi} - lo) + 1;
    return static_cast<int32_t>(lo + static_cast<int64_t>(gen() % span));
  }
};

// Depths drawn from a small range, so that ties are common. In an unordered
// run negative depths and the extremes of the type appear too.
int32_t RandomDepth(Rng &r, bool ordered) {
  if (ordered) {
    return r.Below(20) == 0 ? r.Between(0, INT32_MAX) : r.Between(0, 8);
  }
  switch (r.Below(20)) {
  case 0:
    return INT32_MIN;
  case 1:
    return INT32_MAX;
  default:
    return r.Between(-6, 6);
  }
}

enum class Op { Add, SetDepth, MoveTo, Unlink, NewFree, NewOwned };

struct Step {
  Op op;
  int layer;
  int node;
  int32_t depth;
};

std::string Describe(const Step &s) {
  const std::string node = "node " + std::to_string(s.node);
  const std::string layer = "layer " + std::to_string(s.layer);
  switch (s.op) {
  case Op::Add:
    return "Add(" + layer + ", " + std::to_string(s.depth) + ")";
  case Op::SetDepth:
    return "SetDepth(" + node + ", " + std::to_string(s.depth) + ")";
  case Op::MoveTo:
    return "MoveTo(" + node + ", " + (s.layer < 0 ? "null" : layer) + ")";
  case Op::Unlink:
    return "Unlink(" + node + ")";
  case Op::NewFree:
    return "new free node";
  case Op::NewOwned:
    return "new node owned by " + layer;
  }
  return "";
}

// Runs one sequence; answers an empty string or the first disagreement with
// the steps that led to it.
std::string RunSequence(uint32_t seed) {
  Rng r(seed);
  const bool ordered = seed % 2 == 0;
  Scene s(1 + r.Below(4));
  std::vector<Step> steps;
  const int count = 1 + r.Below(120);
  for (int i = 0; i < count; ++i) {
    const int pick = r.Below(100);
    Step st{Op::Add, r.Below(s.LayerCount()), s.NodeCount() > 0 ? r.Below(s.NodeCount()) : -1,
            RandomDepth(r, ordered)};
    const auto tag = static_cast<int32_t>(r.gen());
    const auto ignored = static_cast<int32_t>(r.gen());
    std::string err;
    if (pick < 30 || st.node < 0) {
      err = s.Add(st.layer, st.depth, tag, ignored);
    } else if (pick < 55) {
      st.op = Op::SetDepth;
      err = s.SetDepth(st.node, st.depth);
    } else if (pick < 75) {
      st.op = Op::MoveTo;
      st.layer = r.Below(8) == 0 ? -1 : st.layer;
      err = s.MoveTo(st.node, st.layer);
    } else if (pick < 90) {
      st.op = Op::Unlink;
      s.Unlink(st.node);
    } else if (pick < 95) {
      st.op = Op::NewFree;
      s.NewFree(tag, ignored);
    } else {
      st.op = Op::NewOwned;
      s.NewOwned(st.layer, tag, ignored);
    }
    steps.push_back(st);
    if (err.empty()) {
      err = s.Check(ordered);
    }
    if (!err.empty()) {
      std::string trail;
      for (size_t k = steps.size() > 12 ? steps.size() - 12 : 0; k < steps.size(); ++k) {
        trail += "\n  " + std::to_string(k) + ": " + Describe(steps[k]);
      }
      return "seed " + std::to_string(seed) + ", step " + std::to_string(i) + ": " + err +
             "\nlast steps:" + trail;
    }
  }
  return "";
}

TEST(LayerListModel, RandomSequencesAgreeWithModel) {
  for (uint32_t seed = 1; seed <= 4000; ++seed) {
    const std::string err = RunSequence(seed);
    ASSERT_TRUE(err.empty()) << err;
  }
}

} // namespace
