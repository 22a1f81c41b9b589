// Fuzzing the bitmap file reader: any bytes through DecodeBitmap, and every
// file it accepts through the host's upload path (LoadImageA, CreateSurface,
// BitBlt) into surfaces of 8, 16, 24 and 32 bits. AddressSanitizer and
// UndefinedBehaviorSanitizer catch bad memory use; the checks below catch a
// decoded bitmap that breaks the reader's promises, and any file on which
// SDL2's reader and our own decoder give different pictures.
#include "upload_path.h"

#include "platform/soft/bitmap_file.h"
#include "platform/soft/bitmap_layout.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

// Headers are checked for any size; pictures up to kDecodePixels are decoded
// and up to kUploadPixels also uploaded, so that each input stays quick (the
// largest sizes take a quarter of a gigabyte and are tested on their own).
constexpr int64_t kDecodePixels = 4 * 1024 * 1024;
constexpr size_t kUploadPixels = 512 * 512;
constexpr size_t k8BitPixels = 64 * 64;

void Check(bool ok, const char *what) {
  if (!ok) {
    std::fprintf(stderr, "bitmap fuzzer: %s\n", what);
    std::abort();
  }
}

const std::string &TempPath() {
  static const std::string path = [] {
    const char *dir = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
    return std::string(dir) + "/vantrel-bitmap-fuzz-" + std::to_string(getpid()) + ".bmp";
  }();
  return path;
}

bool WriteFile(const std::string &path, const uint8_t *data, size_t size) {
  std::FILE *f = std::fopen(path.c_str(), "wb");
  if (f == nullptr)
    return false;
  const bool ok = size == 0 || std::fwrite(data, 1, size, f) == size;
  return std::fclose(f) == 0 && ok;
}

void Upload(const uint8_t *data, size_t size, const soft::DecodedBitmap &decoded) {
  static plat::DirectDraw4 dd = bmptest::OpenDeviceInMode(32);
  Check(dd != nullptr, "the device did not open");
  if (!WriteFile(TempPath(), data, size))
    return;
  for (uint32_t bpp : {8u, 16u, 24u, 32u}) {
    // The 8-bit copy searches the palette for every pixel: small pictures only.
    if (bpp == 8 && decoded.pixels.size() > k8BitPixels)
      continue;
    Check(soft::SetDisplayMode(dd, 640, 480, bpp, 0, 0) == plat::DD_OK, "mode refused");
    int32_t w = 0;
    int32_t h = 0;
    plat::Surface s = bmptest::UploadFile(dd, TempPath().c_str(), &w, &h);
    Check(s != nullptr, "an accepted file did not upload");
    Check(w == decoded.width && h == decoded.height, "uploaded size differs");
    soft::SurfaceView view{};
    Check(soft::View(s, &view) && view.bpp == static_cast<int32_t>(bpp), "surface view");
    // The top-left pixel, as the colour key reads it.
    const uint32_t want = soft::EncodeRgb(static_cast<int32_t>(bpp), decoded.pixels[0]);
    uint32_t got = 0;
    for (int i = 0; i < view.bpp / 8; ++i)
      got |= uint32_t{view.pixels[i]} << (8 * i);
    Check(got == want, "top-left pixel differs from the decoded one");
    soft::ReleaseSurface(s);
  }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  soft::BitmapLayout layout;
  if (soft::ParseBitmapLayout(data, size, &layout) &&
      int64_t{layout.width} * layout.height > kDecodePixels) {
    return 0;
  }
  soft::DecodedBitmap bmp;
  if (!soft::DecodeBitmap(data, size, &bmp)) {
    Check(bmp.width == 0 && bmp.height == 0 && bmp.pixels.empty(), "refused but not empty");
    return 0;
  }
  Check(bmp.width > 0 && bmp.width <= 16384 && bmp.height > 0 && bmp.height <= 16384,
        "accepted size out of range");
  Check(bmp.pixels.size() == static_cast<size_t>(bmp.width) * static_cast<size_t>(bmp.height),
        "pixel count differs from the size");
  // Where SDL2 reads the file, our own decoder must give the same picture.
  if (soft::SdlReadsLayout(layout, size)) {
    soft::DecodedBitmap viaSdl;
    soft::DecodedBitmap own;
    soft::DecodeBitmapPixels(data, size, layout, &own);
    if (soft::DecodeWithSdl(data, size, layout, &viaSdl)) {
      Check(viaSdl.pixels == own.pixels, "SDL and our decoder differ");
    }
  }
  for (uint32_t p : bmp.pixels)
    Check((p >> 24) == 0, "pixel with a top byte");
  if (bmp.pixels.size() <= kUploadPixels)
    Upload(data, size, bmp);
  return 0;
}
