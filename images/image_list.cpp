// The image list: AddImage appends, LoadIfRequested decides on the upload.
#include "images/image_list.h"

#include "base/cycle_guard.h"
#include "base/say_why.h"
#include "host/message_boxes.h"
#include "images/bitmap_upload.h"
#include "images/image_reload.h"
#include "module/prog_instance.h"

#include <cstring>
#include <new>

namespace vantrel {

namespace {

// `name` holds 256 bytes including its terminator, so a file name of 256
// characters or more cannot be stored whole. Such a name, like a missing one,
// is never handed to the loader: a truncated name could open another file.
bool NameFits(const char *file) {
  return file != nullptr && strnlen(file, sizeof(VImg::name)) < sizeof(VImg::name);
}

// The load, or the reason the image is not loaded. Every answer but 1 is a
// failed load to the caller.
int32_t Load(VImg *image, const char *file, bool nameFits) {
  if (file == nullptr) {
    SayWhy(Why::ImageNameMissing);
    return 0;
  }
  if (!nameFits) {
    SayWhy(Why::ImageNameTooLong);
    return 0;
  }
  if (image->surf == nullptr) {
    SayWhy(Why::ImageNoHolder);
  } else if (image->loadFlag != IMG_LOAD) {
    SayWhy(Why::ImageNotAskedToLoad);
  }
  return LoadIfRequested(image);
}

// The last image of the list, or null when the list loops back on itself
// (the module rewrote an image's next): there is no end to append to.
VImg *LastImage(VImg *head) {
  VImg *last = head;
  CycleGuard<VImg> guard(head);
  while (last->next != nullptr) {
    last = last->next;
    if (!guard.Step(last)) {
      return nullptr;
    }
  }
  return last;
}

} // namespace

VImg *VANTREL_CDECL AddImage(const char *file, int32_t loadFlag) {
  // A missing holder is not reported here: the load then answers NO_SURFACE
  // and the image is reported as not loaded.
  VSurf *holder = new (std::nothrow) VSurf();
  const bool nameFits = NameFits(file);

  if (prog.ihead == nullptr) {
    prog.ihead = new (std::nothrow) VImg(holder, file, loadFlag);
    if (prog.ihead == nullptr) {
      delete holder;
      ErrorBox("No memory to add ihead");
      return nullptr;
    }
    VImg *image = prog.ihead;
    if (Load(image, file, nameFits) == 1) {
      RememberUpload(image);
      return image;
    }
    ReportBox("Head image could not be loaded and/or found");
    return nullptr;
  }

  VImg *last = LastImage(prog.ihead);
  if (last == nullptr) {
    delete holder;
    SayWhy(Why::ImageListLoops);
    ErrorBox("Image could not be loaded and/or found");
    return nullptr;
  }
  last->next = new (std::nothrow) VImg(holder, file, loadFlag);
  if (last->next == nullptr) {
    delete holder;
    ErrorBox("No memory to add VImg");
    return nullptr;
  }
  VImg *image = last->next;
  if (Load(image, file, nameFits) == 1) {
    RememberUpload(image);
    return image;
  }
  ErrorBox("Image could not be loaded and/or found");
  return nullptr;
}

int32_t LoadIfRequested(VImg *image) {
  if (image == nullptr || image->surf == nullptr) {
    return NO_SURFACE;
  }
  if (image->loadFlag != IMG_LOAD) {
    return IMG_DEFER;
  }
  return UploadBitmap(image);
}

} // namespace vantrel
