// gdi_bitmaps.cpp - bitmap objects: loading a bitmap file, describing and
// deleting it.
//
// A bitmap object holds the decoded picture as 0x00RRGGBB pixels, top row
// first, and reports itself as a 32-bit bitmap. Only files can be loaded
// (LR_LOADFROMFILE), at their own size.
#include "platform/soft/device_state.h"
#include "platform/soft/soft_device.h"

#include <cstring>
#include <utility>

namespace soft {

void *LoadImageA(plat::HINSTANCE inst, const char *name, uint32_t type, int32_t cx, int32_t cy,
                 uint32_t flags) {
  (void)inst;
  if (name == nullptr || type != plat::IMAGE_BITMAP || (flags & plat::LR_LOADFROMFILE) == 0 ||
      cx != 0 || cy != 0) {
    return nullptr; // resources and resizing on load are not offered
  }
  auto bitmap = std::make_unique<BitmapObject>();
  if (!ReadBitmapFile(name, &bitmap->image) || bitmap->image.width <= 0 ||
      bitmap->image.height <= 0 ||
      bitmap->image.pixels.size() !=
          static_cast<size_t>(bitmap->image.width) * static_cast<size_t>(bitmap->image.height)) {
    return nullptr;
  }
  BitmapObject *raw = bitmap.get();
  State().bitmaps.emplace(raw, std::move(bitmap));
  return raw;
}

int32_t GetObjectA(void *object, int32_t size, void *out) {
  const BitmapObject *bitmap = FindBitmap(object);
  if (bitmap == nullptr) {
    return 0;
  }
  constexpr auto kFull = static_cast<int32_t>(sizeof(plat::BITMAP));
  if (out == nullptr) {
    return kFull; // the size a caller needs
  }
  // The fields up to bmBits take 24 bytes on every build; a caller that gives
  // less gets nothing.
  if (size < 24) {
    return 0;
  }
  plat::BITMAP info{};
  info.bmType = 0;
  info.bmWidth = bitmap->image.width;
  info.bmHeight = bitmap->image.height;
  info.bmWidthBytes = bitmap->image.width * 4;
  info.bmPlanes = 1;
  info.bmBitsPixel = 32;
  info.bmBits = const_cast<uint32_t *>(bitmap->image.pixels.data());
  const int32_t written = size < kFull ? size : kFull;
  std::memcpy(out, &info, static_cast<size_t>(written));
  return written;
}

int32_t DeleteObject(void *object) {
  BitmapObject *bitmap = FindBitmap(object);
  if (bitmap == nullptr) {
    return 0;
  }
  if (bitmap->stock) {
    return 1; // stock objects are never freed
  }
  if (bitmap->selectedIn != nullptr) {
    return 0; // still the drawing surface of a context
  }
  State().bitmaps.erase(bitmap);
  return 1;
}

} // namespace soft
