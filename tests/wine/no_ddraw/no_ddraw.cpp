// no_ddraw.cpp - a ddraw.dll without a device, for the Wine case of a machine
// where DirectDraw cannot be had (a remote desktop, some virtual machines):
// DirectDrawCreate answers DDERR_NODIRECTDRAWHW. Wine loads it from the
// game's folder when told to prefer the native ddraw.dll (ddraw=n).
#include <windows.h>

extern "C" __declspec(dllexport) HRESULT WINAPI DirectDrawCreate(GUID *, void **out, IUnknown *) {
  if (out != nullptr) {
    *out = nullptr;
  }
  return static_cast<HRESULT>(0x887600B5u); // DDERR_NODIRECTDRAWHW
}
