#include "soft_test_util.h"

#include <cstdio>
#include <cstring>

namespace softtest {
namespace {

uint8_t *PixelAt(const soft::SurfaceView &v, int32_t x, int32_t y) {
  return v.pixels + static_cast<int64_t>(y) * v.pitch + static_cast<int64_t>(x) * (v.bpp / 8);
}

void PutLe(std::vector<uint8_t> *out, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) {
    out->push_back(static_cast<uint8_t>(value >> (8 * i)));
  }
}

} // namespace

plat::DirectDraw4 OpenDevice() {
  soft::ResetDevice();
  plat::DirectDraw first = nullptr;
  plat::DirectDraw4 dd = nullptr;
  EXPECT_EQ(soft::DirectDrawCreate(nullptr, &first, nullptr), plat::DD_OK);
  EXPECT_EQ(soft::QueryInterface(first, &plat::IID_IDirectDraw4, &dd), plat::DD_OK);
  EXPECT_EQ(soft::SetCooperativeLevel(dd, nullptr, plat::DDSCL_EXCLUSIVE | plat::DDSCL_FULLSCREEN),
            plat::DD_OK);
  return dd;
}

plat::Surface Offscreen(plat::DirectDraw4 dd, uint32_t w, uint32_t h) {
  plat::DDSURFACEDESC2 desc{};
  desc.dwSize = sizeof desc;
  desc.dwFlags = plat::DDSD_CAPS | plat::DDSD_WIDTH | plat::DDSD_HEIGHT;
  desc.dwWidth = w;
  desc.dwHeight = h;
  desc.ddsCaps.dwCaps = plat::DDSCAPS_OFFSCREENPLAIN;
  plat::Surface s = nullptr;
  if (soft::CreateSurface(dd, &desc, &s, nullptr) != plat::DD_OK) {
    return nullptr;
  }
  return s;
}

plat::Surface PrimaryChain(plat::DirectDraw4 dd, plat::Surface *back) {
  plat::DDSURFACEDESC2 desc{};
  desc.dwSize = sizeof desc;
  desc.dwFlags = plat::DDSD_CAPS | plat::DDSD_BACKBUFFERCOUNT;
  desc.dwBackBufferCount = 1;
  desc.ddsCaps.dwCaps = plat::DDSCAPS_PRIMARYSURFACE | plat::DDSCAPS_FLIP | plat::DDSCAPS_COMPLEX;
  plat::Surface primary = nullptr;
  *back = nullptr;
  if (soft::CreateSurface(dd, &desc, &primary, nullptr) != plat::DD_OK) {
    return nullptr;
  }
  plat::DDSCAPS2 caps{plat::DDSCAPS_BACKBUFFER, 0, 0, 0};
  EXPECT_EQ(soft::GetAttachedSurface(primary, &caps, back), plat::DD_OK);
  return primary;
}

uint32_t Get(plat::Surface s, int32_t x, int32_t y) {
  soft::SurfaceView v{};
  if (!soft::View(s, &v)) {
    ADD_FAILURE() << "not a surface";
    return 0;
  }
  const uint8_t *p = PixelAt(v, x, y);
  uint32_t value = 0;
  for (int i = 0; i < v.bpp / 8; ++i) {
    value |= static_cast<uint32_t>(p[i]) << (8 * i);
  }
  return value;
}

void Put(plat::Surface s, int32_t x, int32_t y, uint32_t value) {
  soft::SurfaceView v{};
  ASSERT_TRUE(soft::View(s, &v));
  uint8_t *p = PixelAt(v, x, y);
  for (int i = 0; i < v.bpp / 8; ++i) {
    p[i] = static_cast<uint8_t>(value >> (8 * i));
  }
}

void FillStored(plat::Surface s, uint32_t value) {
  soft::SurfaceView v{};
  ASSERT_TRUE(soft::View(s, &v));
  for (int32_t y = 0; y < v.height; ++y) {
    for (int32_t x = 0; x < v.width; ++x) {
      Put(s, x, y, value);
    }
  }
}

std::vector<uint8_t> Bytes(plat::Surface s) {
  soft::SurfaceView v{};
  std::vector<uint8_t> out;
  if (!soft::View(s, &v)) {
    return out;
  }
  for (int32_t y = 0; y < v.height; ++y) {
    const uint8_t *row = v.pixels + static_cast<int64_t>(y) * v.pitch;
    out.insert(out.end(), row, row + static_cast<int64_t>(v.width) * (v.bpp / 8));
  }
  return out;
}

std::string WriteBitmap24(const std::string &name, int32_t w, int32_t h,
                          const std::vector<uint32_t> &rgb) {
  const auto rowBytes = static_cast<uint32_t>((w * 3 + 3) / 4 * 4);
  const uint32_t imageBytes = rowBytes * static_cast<uint32_t>(h);
  std::vector<uint8_t> file;
  file.push_back('B');
  file.push_back('M');
  PutLe(&file, 54 + imageBytes, 4);
  PutLe(&file, 0, 4);
  PutLe(&file, 54, 4);
  PutLe(&file, 40, 4);
  PutLe(&file, static_cast<uint32_t>(w), 4);
  PutLe(&file, static_cast<uint32_t>(h), 4);
  PutLe(&file, 1, 2);
  PutLe(&file, 24, 2);
  PutLe(&file, 0, 4); // BI_RGB
  PutLe(&file, imageBytes, 4);
  PutLe(&file, 2835, 4);
  PutLe(&file, 2835, 4);
  PutLe(&file, 0, 4);
  PutLe(&file, 0, 4);
  for (int32_t y = h - 1; y >= 0; --y) { // bottom row first
    for (int32_t x = 0; x < w; ++x) {
      PutLe(&file, rgb[static_cast<size_t>(y * w + x)], 3);
    }
    for (uint32_t pad = static_cast<uint32_t>(w) * 3; pad < rowBytes; ++pad) {
      file.push_back(0);
    }
  }
  const std::string path = ::testing::TempDir() + name;
  FILE *f = std::fopen(path.c_str(), "wb");
  EXPECT_NE(f, nullptr);
  if (f != nullptr) {
    std::fwrite(file.data(), 1, file.size(), f);
    std::fclose(f);
  }
  return path;
}

} // namespace softtest
