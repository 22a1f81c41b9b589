// Tile maps: the construction forms, cell arrays and their fill values, and
// the refusal of cell counts that cannot be allocated.
#include "vantrel.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>

namespace {

// Every one of the map's cols x rows cells reads {0, 0, value}. Reading all
// of them lets AddressSanitizer catch an array shorter than the grid.
::testing::AssertionResult CellsRead(const VMap &m, int32_t value) {
  if (m.cells == nullptr) {
    return ::testing::AssertionFailure() << "cells is null";
  }
  const int64_t n = int64_t{m.cols} * m.rows;
  for (int64_t i = 0; i < n; ++i) {
    const VCell &c = m.cells[i];
    if (c.tileCol != 0 || c.tileRow != 0 || c.value != value) {
      return ::testing::AssertionFailure() << "cell " << i << " reads {" << c.tileCol << ", "
                                           << c.tileRow << ", " << c.value << "}";
    }
  }
  return ::testing::AssertionSuccess();
}

void ExpectViewFieldsZero(const VMap &m) {
  EXPECT_EQ(m.x, 0);
  EXPECT_EQ(m.y, 0);
  EXPECT_EQ(m.viewCols, 0u);
  EXPECT_EQ(m.viewRows, 0u);
  EXPECT_EQ(m.tileW, 0);
  EXPECT_EQ(m.tileH, 0);
  EXPECT_EQ(m.extra, 0);
}

TEST(CellConstruction, DefaultAndValue) {
  const VCell a;
  const VCell b(-17);
  EXPECT_EQ(a.tileCol, 0);
  EXPECT_EQ(a.tileRow, 0);
  EXPECT_EQ(a.value, 0);
  EXPECT_EQ(b.tileCol, 0);
  EXPECT_EQ(b.tileRow, 0);
  EXPECT_EQ(b.value, -17);
}

TEST(MapConstruction, DefaultHoldsNoArray) {
  const VMap m;
  ExpectViewFieldsZero(m);
  EXPECT_EQ(m.cols, 0);
  EXPECT_EQ(m.rows, 0);
  EXPECT_EQ(m.state, MAP_SHOWN);
  EXPECT_EQ(m.cells, nullptr);
}

TEST(MapConstruction, ColsRowsAndFill) {
  const VMap plain(4, 3);
  EXPECT_EQ(plain.cols, 4);
  EXPECT_EQ(plain.rows, 3);
  EXPECT_EQ(plain.state, MAP_SHOWN);
  ExpectViewFieldsZero(plain);
  EXPECT_TRUE(CellsRead(plain, 0));

  const VMap filled(3, 2, 7);
  EXPECT_EQ(filled.cols, 3);
  EXPECT_EQ(filled.rows, 2);
  EXPECT_EQ(filled.state, MAP_SHOWN);
  ExpectViewFieldsZero(filled);
  EXPECT_TRUE(CellsRead(filled, 7));

  const VMap zeroFill(2, 2, 0);
  EXPECT_TRUE(CellsRead(zeroFill, 0));
  const VMap negativeFill(5, 1, -9);
  EXPECT_TRUE(CellsRead(negativeFill, -9));
}

TEST(MapConstruction, FullFormStoresArgumentsInOrder) {
  const VMap m(4, 2, 5, HIDDEN, 11, 12, 13u, 14u, 15, 16, 17);
  EXPECT_EQ(m.cols, 4);
  EXPECT_EQ(m.rows, 2);
  EXPECT_EQ(m.state, HIDDEN);
  EXPECT_EQ(m.x, 11);
  EXPECT_EQ(m.y, 12);
  EXPECT_EQ(m.viewCols, 13u);
  EXPECT_EQ(m.viewRows, 14u);
  EXPECT_EQ(m.tileW, 15);
  EXPECT_EQ(m.tileH, 16);
  EXPECT_EQ(m.extra, 17);
  EXPECT_TRUE(CellsRead(m, 5));

  const VMap zero(3, 3, 0, MAP_SHOWN, 0, 0, 3u, 3u, 8, 8, 0);
  EXPECT_TRUE(CellsRead(zero, 0));
}

TEST(MapCells, EmptyGridGetsAnArray) {
  VMap noCols(0, 5);
  EXPECT_NE(noCols.cells, nullptr);
  VMap noRows(5, 0, 3);
  EXPECT_NE(noRows.cells, nullptr);
  EXPECT_EQ(noRows.Alloc(), 1);
  EXPECT_NE(noRows.cells, nullptr);
}

// Cells lie in array order, 12 bytes apart: cell (col, row) of the grid is
// cells[row * cols + col], and each one is a separate record.
TEST(MapCells, IndexingCoversTheWholeGrid) {
  VMap m(4, 2);
  ASSERT_NE(m.cells, nullptr);
  const auto *base = reinterpret_cast<const unsigned char *>(m.cells);
  for (int32_t row = 0; row < m.rows; ++row) {
    for (int32_t col = 0; col < m.cols; ++col) {
      VCell &c = m.cells[row * m.cols + col];
      EXPECT_EQ(reinterpret_cast<const unsigned char *>(&c) - base, 12 * (row * m.cols + col));
      c.tileCol = col;
      c.tileRow = row;
      c.value = row * 100 + col;
    }
  }
  for (int32_t i = 0; i < 8; ++i) {
    EXPECT_EQ(m.cells[i].tileCol, i % 4);
    EXPECT_EQ(m.cells[i].tileRow, i / 4);
    EXPECT_EQ(m.cells[i].value, (i / 4) * 100 + i % 4);
  }

  const VMap big(640, 480, 42);
  EXPECT_TRUE(CellsRead(big, 42));
}

// Counts that are negative or whose byte size does not fit in 32 bits are
// refused before anything is allocated. A 32-bit product would wrap for
// 65536 x 65536 (to no cells at all) and for 357913942 x 1 in bytes.
TEST(MapCells, RefusesCountsThatCannotBeAllocated) {
  struct Grid {
    int32_t cols;
    int32_t rows;
  };
  for (const Grid g :
       {Grid{-1, 5}, Grid{5, -1}, Grid{-2, -3}, Grid{INT32_MIN, 1}, Grid{65536, 65536},
        Grid{INT32_MAX, 2}, Grid{357913942, 1}, Grid{INT32_MAX, INT32_MAX}}) {
    VMap viaAlloc(g.cols, g.rows);
    EXPECT_EQ(viaAlloc.cells, nullptr) << g.cols << " x " << g.rows;
    EXPECT_EQ(viaAlloc.Alloc(), MAP_NOMEM) << g.cols << " x " << g.rows;
    EXPECT_EQ(viaAlloc.cells, nullptr);
    EXPECT_EQ(viaAlloc.AllocFill(3), MAP_NOMEM) << g.cols << " x " << g.rows;
    EXPECT_EQ(viaAlloc.cells, nullptr);
    VMap viaFill(g.cols, g.rows, 9);
    EXPECT_EQ(viaFill.cells, nullptr) << g.cols << " x " << g.rows;
  }

  // The full form still stores everything else.
  const VMap m(-4, 4, 1, 77, 1, 2, 3u, 4u, 5, 6, 7);
  EXPECT_EQ(m.cells, nullptr);
  EXPECT_EQ(m.state, 77);
  EXPECT_EQ(m.x, 1);
  EXPECT_EQ(m.y, 2);
  EXPECT_EQ(m.viewCols, 3u);
  EXPECT_EQ(m.viewRows, 4u);
  EXPECT_EQ(m.tileW, 5);
  EXPECT_EQ(m.tileH, 6);
  EXPECT_EQ(m.extra, 7);
}

// Allocating again releases the array held before (LeakSanitizer reports
// it otherwise) and sizes the new one from the current grid.
TEST(MapCells, AllocAgainReplacesTheArray) {
  VMap m(3, 2, 7);
  m.cols = 5;
  m.rows = 4;
  EXPECT_EQ(m.Alloc(), 1);
  EXPECT_TRUE(CellsRead(m, 0));
  m.cols = 6;
  EXPECT_EQ(m.AllocFill(-1), 1);
  EXPECT_TRUE(CellsRead(m, -1));
  m.rows = -1;
  EXPECT_EQ(m.AllocFill(2), MAP_NOMEM);
  EXPECT_EQ(m.cells, nullptr);
}

} // namespace
