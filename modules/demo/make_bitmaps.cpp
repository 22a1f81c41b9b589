// make_bitmaps - draws the demo's two bitmaps, tiles.bmp and sprites.bmp.
//
// Run by the build: `make_bitmaps <folder>` writes both files into <folder>,
// as 24-bit uncompressed Windows bitmaps. What lies where, and in which
// colour, is in demo_art.h. Standard C++ only, so the build can also compile
// it with the machine's own compiler when it cross-compiles the module.
#include "demo_art.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <numbers>
#include <string>
#include <vector>

namespace {

using demo::Rgb;

struct Canvas {
  int w, h;
  std::vector<Rgb> px;
  Canvas(int width, int height)
      : w(width), h(height), px(std::size_t(width * height), demo::kKey) {}
  void Set(int x, int y, Rgb c) {
    if (x >= 0 && y >= 0 && x < w && y < h) {
      px[std::size_t(y * w + x)] = c;
    }
  }
  Rgb Get(int x, int y) const { return px[std::size_t(y * w + x)]; }
};

Rgb Lighter(Rgb c) {
  auto up = [](uint8_t v) { return uint8_t(v > 215 ? 255 : v + 40); };
  return {up(c.r), up(c.g), up(c.b)};
}

Rgb Darker(Rgb c) { return {uint8_t(c.r * 3 / 5), uint8_t(c.g * 3 / 5), uint8_t(c.b * 3 / 5)}; }

// Distance of pixel (x, y)'s centre from the centre of its 32 x 32 cell.
double FromCentre(int x, int y) { return std::hypot(x + 0.5 - 16.0, y + 0.5 - 16.0); }

// ---------------------------------------------------------------------------
// Tiles. (ox, oy) is the tile's top-left corner in the tileset.
// ---------------------------------------------------------------------------
void BevelTile(Canvas &c, demo::Tile t, Rgb body) {
  const int ox = t.col * demo::kTileSize, oy = t.row * demo::kTileSize;
  const int edge = demo::kTileSize - demo::kBevel;
  for (int y = 0; y < demo::kTileSize; ++y) {
    for (int x = 0; x < demo::kTileSize; ++x) {
      Rgb v = body;
      if (x < demo::kBevel || y < demo::kBevel) {
        v = Lighter(body);
      } else if (x >= edge || y >= edge) {
        v = Darker(body);
      }
      c.Set(ox + x, oy + y, v);
    }
  }
}

void PortholeTile(Canvas &c, demo::Tile t) {
  BevelTile(c, t, demo::kStone);
  const int ox = t.col * demo::kTileSize, oy = t.row * demo::kTileSize;
  for (int y = 0; y < demo::kTileSize; ++y) {
    for (int x = 0; x < demo::kTileSize; ++x) {
      const double d = FromCentre(x, y);
      if (d <= demo::kPortholeRadius) {
        c.Set(ox + x, oy + y, demo::kKey); // the hole: transparent
      } else if (d <= demo::kPortholeRadius + 2) {
        c.Set(ox + x, oy + y, Darker(demo::kStone)); // its rim
      }
    }
  }
}

void CanopyTile(Canvas &c, demo::Tile t) {
  const int ox = t.col * demo::kTileSize, oy = t.row * demo::kTileSize;
  for (int y = 0; y < demo::kTileSize; ++y) {
    for (int x = 0; x < demo::kTileSize; ++x) {
      const double d = FromCentre(x, y);
      const double glint = std::hypot(x + 0.5 - 11.0, y + 0.5 - 11.0);
      if (d <= demo::kCanopyRadius) {
        c.Set(ox + x, oy + y, glint <= 4 ? Lighter(demo::kCanopy) : demo::kCanopy);
      }
    }
  }
}

Canvas Tileset() {
  Canvas c(demo::kTilesetCols * demo::kTileSize, demo::kTilesetRows * demo::kTileSize);
  // kHoleTile stays magenta: the canvas starts so, and its top-left pixel
  // makes magenta the tileset's transparent colour.
  BevelTile(c, demo::kGrassTile, demo::kGrass);
  BevelTile(c, demo::kSandTile, demo::kSand);
  BevelTile(c, demo::kWaterTile, demo::kWater);
  BevelTile(c, demo::kRockTile, demo::kRock);
  BevelTile(c, demo::kStoneTile, demo::kStone);
  PortholeTile(c, demo::kPortholeTile);
  CanopyTile(c, demo::kCanopyTile);
  return c;
}

// ---------------------------------------------------------------------------
// Sprite frames. (ox, 0) is the frame's top-left corner in the sheet.
// ---------------------------------------------------------------------------
void Ball(Canvas &c, int frame, Rgb body) {
  const int ox = frame * demo::kFrameSize;
  for (int y = 0; y < demo::kFrameSize; ++y) {
    for (int x = 0; x < demo::kFrameSize; ++x) {
      const double d = FromCentre(x, y);
      if (d > demo::kBallRadius + 0.5) {
        continue;
      }
      Rgb v = d <= demo::kBallBodyRadius ? body : Darker(body);
      if (x >= 10 && x <= 12 && y >= 10 && y <= 12) {
        v = demo::kWhite; // the glint
      }
      c.Set(ox + x, y, v);
    }
  }
}

// Distance from point p to the segment a-b.
double ToSegment(double px, double py, double ax, double ay, double bx, double by) {
  const double dx = bx - ax, dy = by - ay;
  double t = ((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy);
  t = t < 0 ? 0 : (t > 1 ? 1 : t);
  return std::hypot(px - (ax + t * dx), py - (ay + t * dy));
}

void Star(Canvas &c, int frame) {
  const int ox = frame * demo::kFrameSize;
  // Ten corners, alternately on an outer and an inner circle, the first point up.
  double vx[10], vy[10];
  for (int i = 0; i < 10; ++i) {
    const double r = i % 2 == 0 ? 15.0 : 6.5;
    const double a = -std::numbers::pi / 2 + i * std::numbers::pi / 5;
    vx[i] = 16 + r * std::cos(a);
    vy[i] = 16.5 + r * std::sin(a);
  }
  for (int y = 0; y < demo::kFrameSize; ++y) {
    for (int x = 0; x < demo::kFrameSize; ++x) {
      const double px = x + 0.5, py = y + 0.5;
      bool inside = false; // even-odd rule
      double edge = 1e9;
      for (int i = 0, j = 9; i < 10; j = i++) {
        if ((vy[i] > py) != (vy[j] > py) &&
            px < (vx[j] - vx[i]) * (py - vy[i]) / (vy[j] - vy[i]) + vx[i]) {
          inside = !inside;
        }
        edge = std::fmin(edge, ToSegment(px, py, vx[i], vy[i], vx[j], vy[j]));
      }
      if (inside) {
        c.Set(ox + x, y, edge < 1.3 ? demo::kStarEdge : demo::kStarFill);
      }
    }
  }
}

void Cursor(Canvas &c, int frame) {
  const int ox = frame * demo::kFrameSize;
  auto white = [](int x, int y) {
    return (x >= 15 && x <= 16 && y >= 4 && y <= 27) || (y >= 15 && y <= 16 && x >= 4 && x <= 27);
  };
  for (int y = 0; y < demo::kFrameSize; ++y) {
    for (int x = 0; x < demo::kFrameSize; ++x) {
      if (white(x, y)) {
        c.Set(ox + x, y, demo::kWhite);
        continue;
      }
      // A black outline round the white cross, so it shows on any ground.
      for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx) {
          if (white(x + dx, y + dy)) {
            c.Set(ox + x, y, demo::kBlack);
          }
        }
      }
    }
  }
}

void Crate(Canvas &c, int frame) {
  const int ox = frame * demo::kFrameSize;
  for (int y = 0; y < demo::kFrameSize; ++y) {
    for (int x = 0; x < demo::kFrameSize; ++x) {
      const bool border = x < 3 || y < 3 || x > 28 || y > 28;
      const bool plank = y == 15 || y == 16;
      const bool brace = std::abs(x + y - 31) <= 1;
      c.Set(ox + x, y, border || plank || brace ? demo::kCrateDark : demo::kCrateWood);
    }
  }
}

Canvas SpriteSheet() {
  Canvas c(demo::kFrameCount * demo::kFrameSize, demo::kFrameSize);
  for (int i = 0; i < 5; ++i) {
    Ball(c, demo::kRedBall + i, demo::kBallColours[i]);
  }
  Star(c, demo::kStar);
  Cursor(c, demo::kCursor);
  Crate(c, demo::kCrate);
  return c;
}

// ---------------------------------------------------------------------------
// A 24-bit bottom-up Windows bitmap file.
// ---------------------------------------------------------------------------
void Put16(std::vector<uint8_t> &out, uint32_t v) {
  out.push_back(uint8_t(v));
  out.push_back(uint8_t(v >> 8));
}

void Put32(std::vector<uint8_t> &out, uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

bool WriteBmp(const Canvas &c, const std::string &path) {
  const uint32_t rowBytes = (uint32_t(c.w) * 3 + 3) & ~3u; // rows padded to 4 bytes
  const uint32_t imageBytes = rowBytes * uint32_t(c.h);
  std::vector<uint8_t> out;
  out.push_back('B');
  out.push_back('M');
  Put32(out, 54 + imageBytes); // file size
  Put32(out, 0);               // reserved
  Put32(out, 54);              // offset of the pixels
  Put32(out, 40);              // BITMAPINFOHEADER
  Put32(out, uint32_t(c.w));
  Put32(out, uint32_t(c.h)); // positive: the bottom row comes first
  Put16(out, 1);             // planes
  Put16(out, 24);            // bits per pixel
  Put32(out, 0);             // BI_RGB: uncompressed
  Put32(out, imageBytes);
  Put32(out, 2835); // 72 dpi
  Put32(out, 2835);
  Put32(out, 0); // no palette
  Put32(out, 0);
  for (int y = c.h - 1; y >= 0; --y) {
    for (int x = 0; x < c.w; ++x) {
      const Rgb p = c.Get(x, y);
      out.push_back(p.b);
      out.push_back(p.g);
      out.push_back(p.r);
    }
    out.resize(out.size() + (rowBytes - uint32_t(c.w) * 3), 0);
  }
  std::FILE *f = std::fopen(path.c_str(), "wb");
  if (f == nullptr) {
    return false;
  }
  const bool ok = std::fwrite(out.data(), 1, out.size(), f) == out.size();
  return std::fclose(f) == 0 && ok;
}

} // namespace

int main(int argc, char **argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_bitmaps <output folder>\n");
    return 2;
  }
  const std::string dir = std::string(argv[1]) + "/";
  const bool ok = WriteBmp(Tileset(), dir + demo::kTilesFile) &&
                  WriteBmp(SpriteSheet(), dir + demo::kSpritesFile);
  if (!ok) {
    std::fprintf(stderr, "make_bitmaps: cannot write into %s\n", argv[1]);
    return 1;
  }
  return 0;
}
