// Constructors and destructor of the image records VSurf and VImg.
#include "vantrel.h"

#include <cstring>

VSurf::VSurf() : surface(nullptr), width(0), height(0) {}

VImg::VImg() : state(IMG_EMPTY), loadFlag(IMG_DEFER), next(nullptr), surf(nullptr) {}

VImg::VImg(VSurf *holder, const char *file, int32_t flag)
    : state(IMG_NAMED), loadFlag(flag), next(nullptr), surf(holder) {
  // Up to 255 characters; the rest of bytes 0..254 zero-filled, and byte 255
  // always a terminator so no reader of `name` runs past the record.
  std::memset(name, 0, sizeof name);
  if (file != nullptr) {
    std::strncpy(name, file, sizeof name - 1);
  }
  name[sizeof name - 1] = '\0';
}

VImg::~VImg() {
  delete surf;
  surf = nullptr;
  // The rest of the list is freed front to back without recursion, so a
  // list of any length cannot exhaust the stack at exit.
  VImg *rest = next;
  next = nullptr;
  while (rest != nullptr) {
    VImg *after = rest->next;
    rest->next = nullptr;
    delete rest;
    rest = after;
  }
}
