// device_state.h - the objects of the software display device and where they
// live.
//
// Every object the device hands out (the DirectDraw object, surfaces, bitmaps,
// device contexts) is owned by one table in DeviceState. A handle is the
// object's address, but it is only ever turned back into an object by looking
// it up in its table, so an unknown, stale or hostile handle is refused with a
// failure code and never dereferenced. ResetDevice empties every table.
#ifndef VANTREL_PLATFORM_SOFT_DEVICE_STATE_H
#define VANTREL_PLATFORM_SOFT_DEVICE_STATE_H

#include "platform/platform.h"
#include "platform/soft/bitmap_file.h"

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <unordered_map>

namespace soft {

// DirectDraw results used by the device beyond those the core compares with.
constexpr plat::HRESULT kInvalidObject = 0x88760082u;         // DDERR_INVALIDOBJECT
constexpr plat::HRESULT kInvalidCaps = 0x88760064u;           // DDERR_INVALIDCAPS
constexpr plat::HRESULT kInvalidDirectDrawGuid = 0x88760231u; // DDERR_INVALIDDIRECTDRAWGUID
constexpr plat::HRESULT kNoAggregation = 0x80040110u;         // CLASS_E_NOAGGREGATION
constexpr plat::HRESULT kNoInterface = 0x80004002u;           // E_NOINTERFACE
constexpr plat::HRESULT kNoExclusiveMode = 0x887600E1u;       // DDERR_NOEXCLUSIVEMODE
constexpr plat::HRESULT kNotFlippable = 0x88760246u;          // DDERR_NOTFLIPPABLE
constexpr plat::HRESULT kDcAlreadyCreated = 0x8876026Cu;      // DDERR_DCALREADYCREATED
constexpr plat::HRESULT kNoDc = 0x8876024Au;                  // DDERR_NODC
constexpr plat::HRESULT kWrongMode = 0x8876024Bu;             // DDERR_WRONGMODE
constexpr plat::HRESULT kImplicitlyCreated = 0x8876022Au;     // DDERR_IMPLICITLYCREATED

// The largest surface the device makes: sides up to 16384 pixels and at most
// 256 MiB of pixel memory. Larger requests answer DDERR_OUTOFMEMORY.
constexpr int64_t kMaxSurfaceSide = 16384;
constexpr int64_t kMaxSurfaceBytes = int64_t{256} << 20;

// Display modes are at most 8192 pixels on a side.
constexpr int64_t kMaxModeSide = 8192;

struct FreeDeleter {
  void operator()(uint8_t *p) const { std::free(p); }
};
using PixelMemory = std::unique_ptr<uint8_t, FreeDeleter>;

struct DeviceContext;

struct SurfaceObject {
  int32_t width = 0;
  int32_t height = 0;
  int32_t bpp = 32;
  int32_t pitch = 0;
  PixelMemory pixels;
  bool primary = false;
  bool backBuffer = false;
  SurfaceObject *chain = nullptr; // primary <-> its back buffer
  uint32_t refs = 1;
  bool locked = false;
  DeviceContext *dc = nullptr; // the context GetDC handed out
  bool hasKey = false;
  uint32_t key = 0;  // in the surface's pixel format
  bool lost = false; // its memory went with a mode change or the exclusive mode
};

struct BitmapObject {
  DecodedBitmap image;
  DeviceContext *selectedIn = nullptr;
  bool stock = false; // the default bitmap of a new memory context
};

struct DeviceContext {
  SurfaceObject *surface = nullptr; // set for a surface's context
  BitmapObject *bitmap = nullptr;   // set for a memory context with a bitmap
};

// The DirectDraw object: the address of `first` is the IDirectDraw handle and
// the address of `fourth` the IDirectDraw4 handle of the same object.
struct DirectDrawObject {
  char first = 0;
  char fourth = 0;
};

struct DeviceState {
  bool created = false;
  DirectDrawObject directDraw;
  bool modeSet = false;
  int32_t modeWidth = 0;
  int32_t modeHeight = 0;
  int32_t modeBpp = 32;
  uint32_t cooperativeFlags = 0;
  bool exclusiveAway = false;        // another application has the display
  bool modeChangedElsewhere = false; // another application set a mode since ours
  bool modeChangeLoses = true;       // a mode change loses every surface
  SurfaceObject *primary = nullptr;
  std::unordered_map<const void *, std::unique_ptr<SurfaceObject>> surfaces;
  std::unordered_map<const void *, std::unique_ptr<BitmapObject>> bitmaps;
  std::unordered_map<const void *, std::unique_ptr<DeviceContext>> contexts;
  BitmapObject *stockBitmap = nullptr;
};

DeviceState &State();

// Look-ups: null for anything the device did not make or has freed.
SurfaceObject *FindSurface(const void *handle);
BitmapObject *FindBitmap(const void *handle);
DeviceContext *FindContext(const void *handle);
bool IsDirectDraw4(plat::DirectDraw4 dd);

// Frees a surface, its device context and, for a primary, its back buffer.
void DestroySurface(SurfaceObject *s);

// Row pitch in bytes of a surface `width` pixels wide: rounded up to 4.
int64_t PitchFor(int64_t width, int32_t bpp);

} // namespace soft

#endif
