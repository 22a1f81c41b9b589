// Fuzzes the scene library (libFuzzer). The input is decoded into a sequence
// of operations over up to four layers and up to 64 nodes: Add, SetDepth,
// MoveTo (null targets included), Unlink, and nodes built free or with an
// owner but never linked, so the misuse the library refuses is driven too.
// After every step the library is compared with the reference model of
// tests/scene/list_model.h and invariants 1 to 3 are checked (ascending
// depths with the tie-breaks as well, when the input keeps depths at 0 or
// more); any break aborts. Tile-map allocation over grid sizes that are small
// or at the refusal edges, and image names of any bytes, come along.
//
// Built and run by scripts/fuzz-scene.sh.
#include "list_model.h"
#include "vantrel.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

[[noreturn]] void Break(const std::string &what) {
  std::fprintf(stderr, "scene invariant broken: %s\n", what.c_str());
  std::abort();
}

int32_t Depth(FuzzedDataProvider &in, bool ordered) {
  if (ordered) {
    return in.ConsumeBool() ? in.ConsumeIntegralInRange<int32_t>(0, 9)
                            : in.ConsumeIntegralInRange<int32_t>(0, INT32_MAX);
  }
  return in.ConsumeBool() ? in.ConsumeIntegralInRange<int32_t>(-5, 5)
                          : in.ConsumeIntegral<int32_t>();
}

// A grid side: small, or one of the values where a careless size computation
// goes wrong.
int32_t Side(FuzzedDataProvider &in) {
  static constexpr int32_t edges[] = {0,         1,        -1,      INT32_MIN, INT32_MAX,
                                      65536,     65537,    46341,   357913941, 357913942,
                                      178956971, 71582789, 1 << 30, -65536};
  if (in.ConsumeBool()) {
    return in.ConsumeIntegralInRange<int32_t>(0, 64);
  }
  return edges[in.ConsumeIntegralInRange<size_t>(0, sizeof edges / sizeof edges[0] - 1)];
}

// Allocation must be refused exactly for negative sides and byte sizes past
// 32 bits; small grids are allocated and every cell is read (AddressSanitizer
// catches an array shorter than the grid). Grids that would be allocated but
// are large are skipped to keep the fuzzer's memory small.
void FuzzMap(FuzzedDataProvider &in) {
  const int32_t cols = Side(in);
  const int32_t rows = Side(in);
  const int32_t fill = in.ConsumeIntegral<int32_t>();
  const bool refused =
      cols < 0 || rows < 0 || int64_t{cols} * rows > int64_t{UINT32_MAX} / int64_t{sizeof(VCell)};
  if (!refused && int64_t{cols} * rows > 4096) {
    return;
  }
  VMap m(cols, rows, fill);
  if ((m.cells == nullptr) != refused) {
    Break("map " + std::to_string(cols) + " x " + std::to_string(rows) + " built wrongly");
  }
  const bool plain = in.ConsumeBool();
  const int32_t again = plain ? m.Alloc() : m.AllocFill(fill);
  if (refused) {
    if (m.cells != nullptr || again != MAP_NOMEM) {
      Break("map " + std::to_string(cols) + " x " + std::to_string(rows) + " not refused");
    }
    return;
  }
  if (m.cells == nullptr || again != 1) {
    Break("map " + std::to_string(cols) + " x " + std::to_string(rows) + " refused");
  }
  const int64_t n = int64_t{cols} * rows;
  for (int64_t i = 0; i < n; ++i) {
    const VCell &c = m.cells[i];
    if (c.tileCol != 0 || c.tileRow != 0 || c.value != (plain ? 0 : fill)) {
      Break("map cell " + std::to_string(i) + " holds the wrong value");
    }
  }
}

// Whatever bytes the name holds, the record keeps a terminator at byte 255
// and zeros after the copied text.
void FuzzImageName(FuzzedDataProvider &in) {
  const std::string file = in.ConsumeRandomLengthString(600);
  VImg img(nullptr, file.c_str(), in.ConsumeIntegral<int32_t>());
  const size_t len = std::strlen(file.c_str());
  const size_t kept = len < 255 ? len : 255;
  if (std::memcmp(img.name, file.c_str(), kept) != 0) {
    Break("image name not copied");
  }
  for (size_t i = kept; i < sizeof img.name; ++i) {
    if (img.name[i] != '\0') {
      Break("image name byte " + std::to_string(i) + " not zero");
    }
  }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  FuzzedDataProvider in(data, size);
  const auto setup = in.ConsumeIntegral<uint8_t>();
  const int layers = 1 + (setup & 3);
  const bool ordered = (setup & 4) != 0;
  listmodel::Scene s(layers);
  for (int step = 0; step < 512 && in.remaining_bytes() > 0; ++step) {
    const auto op = in.ConsumeIntegralInRange<int>(0, 15);
    const int layer = in.ConsumeIntegralInRange<int>(0, layers - 1);
    const int node = s.NodeCount() > 0 ? in.ConsumeIntegralInRange<int>(0, s.NodeCount() - 1) : -1;
    const auto tag = in.ConsumeIntegral<int32_t>();
    std::string err;
    if (op <= 4 || node < 0) {
      if (s.NodeCount() < 64) {
        err = s.Add(layer, Depth(in, ordered), tag, tag ^ 0x5a5a);
      }
    } else if (op <= 7) {
      err = s.SetDepth(node, Depth(in, ordered));
    } else if (op <= 10) {
      err = s.MoveTo(node, in.ConsumeIntegralInRange<int>(0, 7) == 0 ? -1 : layer);
    } else if (op <= 12) {
      s.Unlink(node);
    } else if (op == 13) {
      if (s.NodeCount() < 64) {
        if (in.ConsumeBool()) {
          s.NewFree(tag, ~tag);
        } else {
          s.NewOwned(layer, tag, ~tag);
        }
      }
    } else if (op == 14) {
      FuzzMap(in);
    } else {
      FuzzImageName(in);
    }
    if (err.empty()) {
      err = s.Check(ordered);
    }
    if (!err.empty()) {
      Break("step " + std::to_string(step) + ": " + err);
    }
  }
  return 0;
}
