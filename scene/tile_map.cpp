// Tile map and cell records: constructors and cell-array allocation.
#include "vantrel.h"

#include <cstdint>
#include <new>

VCell::VCell() : tileCol(0), tileRow(0), value(0) {}

VCell::VCell(int32_t v) : tileCol(0), tileRow(0), value(v) {}

VMap::VMap()
    : x(0), y(0), viewCols(0), viewRows(0), tileW(0), tileH(0), cols(0), rows(0), state(MAP_SHOWN),
      extra(0), cells(nullptr) {}

VMap::VMap(int32_t c, int32_t r) : VMap() {
  cols = c;
  rows = r;
  Alloc();
}

VMap::VMap(int32_t c, int32_t r, int32_t fill) : VMap() {
  cols = c;
  rows = r;
  AllocFill(fill);
}

VMap::VMap(int32_t c, int32_t r, int32_t fill, int32_t st, int32_t px, int32_t py, uint32_t vc,
           uint32_t vr, int32_t tw, int32_t th, int32_t ex)
    : VMap() {
  cols = c;
  rows = r;
  if (fill == 0) {
    Alloc();
  } else {
    AllocFill(fill);
  }
  state = st;
  x = px;
  y = py;
  viewCols = vc;
  viewRows = vr;
  tileW = tw;
  tileH = th;
  extra = ex;
}

VMap::~VMap() { delete[] cells; }

namespace {

// The number of cells of a cols x rows array, or -1 when the count is negative
// or its byte size does not fit in 32 bits (the contract's address space).
int64_t CellCount(int32_t cols, int32_t rows) {
  if (cols < 0 || rows < 0) {
    return -1;
  }
  // Compared by division: the byte size of INT32_MAX x INT32_MAX cells does
  // not fit even in 64 bits.
  const int64_t n = static_cast<int64_t>(cols) * rows;
  if (n > static_cast<int64_t>(UINT32_MAX / sizeof(VCell))) {
    return -1;
  }
  return n;
}

} // namespace

int32_t VMap::Alloc() {
  delete[] cells;
  cells = nullptr;
  const int64_t n = CellCount(cols, rows);
  if (n < 0) {
    return MAP_NOMEM;
  }
  cells = new (std::nothrow) VCell[static_cast<size_t>(n)];
  return cells != nullptr ? 1 : MAP_NOMEM;
}

int32_t VMap::AllocFill(int32_t v) {
  if (Alloc() != 1) {
    return MAP_NOMEM;
  }
  const int64_t n = static_cast<int64_t>(cols) * rows;
  for (int64_t i = 0; i < n; ++i) {
    cells[i].value = v;
  }
  return 1;
}
