// direct_draw.cpp - the device object and the display mode.
//
// There is one device object. DirectDrawCreate hands out its IDirectDraw
// face, QueryInterface its IDirectDraw4 face. The mode only records a size
// and a depth: the device has no screen of its own (the desktop backend shows
// the primary surface). Changing the mode loses every existing surface, as a
// display whose surfaces all live in video memory does; their owner releases
// the old flipping chain, builds a new one and restores or remakes the rest.
#include "platform/soft/device_state.h"
#include "platform/soft/pixel_format.h"
#include "platform/soft/soft_device.h"

#include <cstring>

namespace soft {

HRESULT DirectDrawCreate(const plat::GUID *driver, plat::DirectDraw *out, void *outer) {
  if (out == nullptr) {
    return plat::DDERR_INVALIDPARAMS;
  }
  *out = nullptr;
  if (outer != nullptr) {
    return kNoAggregation;
  }
  if (driver != nullptr) {
    return kInvalidDirectDrawGuid; // only the active display driver exists
  }
  DeviceState &st = State();
  st.created = true;
  *out = reinterpret_cast<plat::DirectDraw>(&st.directDraw.first);
  return plat::DD_OK;
}

HRESULT QueryInterface(plat::DirectDraw dd, const plat::GUID *iid, plat::DirectDraw4 *out) {
  DeviceState &st = State();
  if (out == nullptr || iid == nullptr) {
    return plat::DDERR_INVALIDPARAMS;
  }
  *out = nullptr;
  if (!st.created || static_cast<const void *>(dd) != &st.directDraw.first) {
    return kInvalidObject;
  }
  if (std::memcmp(iid, &plat::IID_IDirectDraw4, sizeof(plat::GUID)) != 0) {
    return kNoInterface;
  }
  *out = reinterpret_cast<plat::DirectDraw4>(&st.directDraw.fourth);
  return plat::DD_OK;
}

HRESULT SetCooperativeLevel(plat::DirectDraw4 dd, plat::HWND wnd, uint32_t flags) {
  (void)wnd;
  if (!IsDirectDraw4(dd)) {
    return kInvalidObject;
  }
  State().cooperativeFlags = flags;
  return plat::DD_OK;
}

HRESULT TestCooperativeLevel(plat::DirectDraw4 dd) {
  if (!IsDirectDraw4(dd)) {
    return kInvalidObject;
  }
  const DeviceState &st = State();
  if ((st.cooperativeFlags & plat::DDSCL_EXCLUSIVE) == 0) {
    return plat::DD_OK; // a normal level shares the display and loses nothing
  }
  if (st.exclusiveAway) {
    return kNoExclusiveMode;
  }
  return st.modeChangedElsewhere ? kWrongMode : plat::DD_OK;
}

// Boxes are windows of their own over the soft device, always seen: there is
// nothing to flip back, so the answer comes at once.
HRESULT FlipToGDISurface(plat::DirectDraw4 dd) {
  return IsDirectDraw4(dd) ? plat::DD_OK : kInvalidObject;
}

std::string WhyNoMode(uint32_t w, uint32_t h, uint32_t bpp) {
  // The arguments arrive as DWORDs: a negative size is a huge one here.
  if (w == 0 || h == 0) {
    return "a mode of no pixels";
  }
  if (w > kMaxModeSide || h > kMaxModeSide) {
    return "wider or taller than " + std::to_string(kMaxModeSide) + " pixels";
  }
  if (!IsDeviceBpp(bpp)) {
    return std::to_string(bpp) + " bits per pixel (the depths are 8, 16, 24 and 32)";
  }
  return "";
}

HRESULT SetDisplayMode(plat::DirectDraw4 dd, uint32_t w, uint32_t h, uint32_t bpp, uint32_t refresh,
                       uint32_t flags) {
  (void)refresh;
  (void)flags;
  if (!IsDirectDraw4(dd)) {
    return kInvalidObject;
  }
  if (!WhyNoMode(w, h, bpp).empty()) {
    return plat::DDERR_INVALIDMODE;
  }
  const auto width = static_cast<int64_t>(w);
  const auto height = static_cast<int64_t>(h);
  DeviceState &st = State();
  for (auto &entry : st.surfaces) {
    entry.second->lost = st.modeChangeLoses;
  }
  st.modeSet = true;
  st.modeChangedElsewhere = false;
  st.modeWidth = static_cast<int32_t>(width);
  st.modeHeight = static_cast<int32_t>(height);
  st.modeBpp = static_cast<int32_t>(bpp);
  return plat::DD_OK;
}

bool LoseExclusiveMode() {
  DeviceState &st = State();
  if ((st.cooperativeFlags & plat::DDSCL_EXCLUSIVE) == 0) {
    return false;
  }
  st.exclusiveAway = true;
  for (auto &entry : st.surfaces) {
    entry.second->lost = true;
  }
  return true;
}

void ChangeModeElsewhere(uint32_t w, uint32_t h, uint32_t bpp) {
  DeviceState &st = State();
  for (auto &entry : st.surfaces) {
    entry.second->lost = true;
  }
  st.modeChangedElsewhere = true;
  st.modeWidth = static_cast<int32_t>(w);
  st.modeHeight = static_cast<int32_t>(h);
  if (IsDeviceBpp(bpp)) {
    st.modeBpp = static_cast<int32_t>(bpp);
  }
}

void KeepSurfacesOnModeChange(bool keep) { State().modeChangeLoses = !keep; }

void RegainExclusiveMode() { State().exclusiveAway = false; }

bool ExclusiveModeAway() { return State().exclusiveAway; }

HRESULT RestoreAllSurfaces(plat::DirectDraw4 dd) {
  if (!IsDirectDraw4(dd)) {
    return kInvalidObject;
  }
  DeviceState &st = State();
  if (st.exclusiveAway || st.modeChangedElsewhere) {
    return kWrongMode;
  }
  // Back buffers come back with their primary; a surface of another mode
  // stays lost and makes the answer a failure.
  HRESULT answer = plat::DD_OK;
  for (auto &entry : st.surfaces) {
    SurfaceObject &s = *entry.second;
    if (!s.lost || s.backBuffer) {
      continue;
    }
    const HRESULT hr = soft::Restore(reinterpret_cast<plat::Surface>(&s));
    if (hr != plat::DD_OK && answer == plat::DD_OK) {
      answer = hr;
    }
  }
  return answer;
}

int32_t DisplayBpp() { return State().modeBpp; }

plat::Surface Primary() { return reinterpret_cast<plat::Surface>(State().primary); }

} // namespace soft
