// no_ddraw.cpp - a ddraw.dll that gives the host no exclusive display, for
// the Wine cases of a machine where DirectDraw cannot be had (a remote
// desktop, some virtual machines). Wine loads it from the game's folder when
// told to prefer the native ddraw.dll (ddraw=n). Built twice:
//   no_ddraw/ddraw.dll:     DirectDrawCreate answers DDERR_NODIRECTDRAWHW;
//   no_exclusive/ddraw.dll: DirectDrawCreate makes a device that answers
//     IDirectDraw4 with itself and refuses SetCooperativeLevel with
//     DDERR_EXCLUSIVEMODEALREADYSET (another program holds the display).
#include <windows.h>

namespace {

#if defined(VANTREL_NO_EXCLUSIVE)
struct Device {
  void *const *vtable;
  ULONG refs;
};

HRESULT STDMETHODCALLTYPE QueryInterface(Device *self, const IID *, void **out) {
  ++self->refs;
  *out = self; // the same object serves as IDirectDraw4
  return S_OK;
}
ULONG STDMETHODCALLTYPE AddRef(Device *self) { return ++self->refs; }
ULONG STDMETHODCALLTYPE Release(Device *self) { return --self->refs; }
HRESULT STDMETHODCALLTYPE SetCooperativeLevel(Device *, HWND, DWORD) {
  return static_cast<HRESULT>(0x88760245u); // DDERR_EXCLUSIVEMODEALREADYSET
}
// Any other method: the host must not call it on a device it gave up.
void STDMETHODCALLTYPE Unexpected() { ExitProcess(98); }

void *const kVtable[32] = {
    reinterpret_cast<void *>(QueryInterface), reinterpret_cast<void *>(AddRef),
    reinterpret_cast<void *>(Release), reinterpret_cast<void *>(Unexpected),
    reinterpret_cast<void *>(Unexpected), reinterpret_cast<void *>(Unexpected),
    reinterpret_cast<void *>(Unexpected), reinterpret_cast<void *>(Unexpected),
    reinterpret_cast<void *>(Unexpected), reinterpret_cast<void *>(Unexpected),
    reinterpret_cast<void *>(Unexpected), reinterpret_cast<void *>(Unexpected),
    reinterpret_cast<void *>(Unexpected), reinterpret_cast<void *>(Unexpected),
    reinterpret_cast<void *>(Unexpected), reinterpret_cast<void *>(Unexpected),
    reinterpret_cast<void *>(Unexpected), reinterpret_cast<void *>(Unexpected),
    reinterpret_cast<void *>(Unexpected), reinterpret_cast<void *>(Unexpected),
    // slot 20 of IDirectDraw and IDirectDraw4 alike
    reinterpret_cast<void *>(SetCooperativeLevel), reinterpret_cast<void *>(Unexpected),
    reinterpret_cast<void *>(Unexpected), reinterpret_cast<void *>(Unexpected),
    reinterpret_cast<void *>(Unexpected), reinterpret_cast<void *>(Unexpected),
    reinterpret_cast<void *>(Unexpected), reinterpret_cast<void *>(Unexpected),
    reinterpret_cast<void *>(Unexpected), reinterpret_cast<void *>(Unexpected),
    reinterpret_cast<void *>(Unexpected), reinterpret_cast<void *>(Unexpected)};

Device device{kVtable, 0};
#endif

} // namespace

extern "C" __declspec(dllexport) HRESULT WINAPI DirectDrawCreate(GUID *, void **out, IUnknown *) {
  if (out == nullptr) {
    return E_POINTER;
  }
#if defined(VANTREL_NO_EXCLUSIVE)
  device.refs = 1;
  *out = &device;
  return S_OK;
#else
  *out = nullptr;
  return static_cast<HRESULT>(0x887600B5u); // DDERR_NODIRECTDRAWHW
#endif
}
