// Constructors and destructor of the image records VSurf and VImg.
#include "vantrel.h"

#include <cstddef>
#include <cstring>

namespace {

// How many distinct images the list from `first` holds: up to the null
// `next`, or, when a module has bent the list back on itself, up to the last
// image before the repeat. Nothing is allocated (Brent's algorithm gives the
// loop's length, then two walks that far apart meet where it starts).
size_t DistinctImages(const VImg *first) {
  if (first == nullptr) {
    return 0;
  }
  const VImg *mark = first;
  const VImg *walker = first->next;
  size_t power = 1;
  size_t loop = 1;
  size_t count = 1;
  while (walker != mark) {
    if (walker == nullptr) {
      return count;
    }
    ++count;
    if (loop == power) {
      mark = walker;
      power *= 2;
      loop = 0;
    }
    walker = walker->next;
    ++loop;
  }
  const VImg *ahead = first;
  for (size_t i = 0; i < loop; ++i) {
    ahead = ahead->next;
  }
  const VImg *behind = first;
  size_t before = 0;
  while (behind != ahead) {
    behind = behind->next;
    ahead = ahead->next;
    ++before;
  }
  return before + loop;
}

} // namespace

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
  // list of any length cannot exhaust the stack at exit; a list bent into a
  // loop (back to this image or to a later one) has each image freed once.
  size_t left = DistinctImages(this) - 1;
  VImg *rest = next;
  next = nullptr;
  while (rest != nullptr && left-- > 0) {
    VImg *after = rest->next;
    rest->next = nullptr;
    delete rest;
    rest = after;
  }
}
