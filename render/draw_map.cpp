// Drawing a tile map into the back buffer.
#include "base/say_why.h"
#include "display/display_state.h"
#include "module/prog_instance.h"
#include "render/clip.h"
#include "render/draw.h"

namespace vantrel {

namespace {

// The tileset of every map: the surface of the first image on the list.
plat::Surface TilesetSurface() {
  if (prog.ihead == nullptr || prog.ihead->surf == nullptr) {
    return nullptr;
  }
  return static_cast<plat::Surface>(prog.ihead->surf->surface);
}

} // namespace

// Rows outer, columns inner: cell k = r * viewCols + c is drawn at
// (x + c * tileW, y + r * tileH), one blit per grid position, also for tiles
// wholly off the screen. The walk ends for good when k reaches the size of
// the cell array (cols x rows), so no view can read past the array, and a
// view without columns walks no rows at all: every turn of either loop draws
// a tile, so the work is bounded by the cells the module owns.
int32_t VANTREL_CDECL DrawMap(VMap *map) {
  if (map == nullptr) {
    SayWhy(Why::MapMissing);
    return 1;
  }
  if (backBuffer == nullptr) {
    SayWhy(Why::DrawBeforeMode);
    return 1;
  }
  if (map->viewCols == 0 || map->viewRows == 0) {
    return 1;
  }
  if (map->cells == nullptr || map->cols <= 0 || map->rows <= 0) {
    SayWhy(Why::MapWithoutCells);
    return 1;
  }
  plat::Surface tileset = TilesetSurface();
  if (tileset == nullptr) {
    SayWhy(Why::MapWithoutTileset);
    return 1;
  }
  const int64_t cellCount = static_cast<int64_t>(map->cols) * map->rows;
  const int32_t tileW = map->tileW;
  const int32_t tileH = map->tileH;
  int64_t k = 0;
  int32_t py = map->y;
  for (uint32_t r = 0; r < map->viewRows; ++r) {
    int32_t px = map->x;
    for (uint32_t c = 0; c < map->viewCols; ++c) {
      if (k >= cellCount) {
        SayWhy(Why::MapViewPastCells);
        return 1;
      }
      const VCell &cell = map->cells[k];
      const int32_t sx = Mul32(cell.tileCol, tileW);
      const int32_t sy = Mul32(cell.tileRow, tileH);
      plat::RECT dst = {px, py, Add32(px, tileW), Add32(py, tileH)};
      plat::RECT src = {sx, sy, Add32(sx, tileW), Add32(sy, tileH)};
      ClipToScreen(&dst, &src, screenW, screenH);
      plat::BltFast(backBuffer, static_cast<uint32_t>(dst.left), static_cast<uint32_t>(dst.top),
                    tileset, &src, plat::DDBLTFAST_SRCCOLORKEY | plat::DDBLTFAST_WAIT);
      ++k;
      px = Add32(px, tileW);
    }
    py = Add32(py, tileH);
  }
  return 1;
}

} // namespace vantrel
