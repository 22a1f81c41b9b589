// frame_image.h - a presented frame as 8-bit RGB, in the colours the desktop
// host shows it, and as a PNG file.
#ifndef VANTREL_CAPTURE_FRAME_IMAGE_H
#define VANTREL_CAPTURE_FRAME_IMAGE_H

#include "platform/soft/soft_device.h"

#include <cstdint>
#include <string>
#include <vector>

namespace replay {

// Rows top to bottom, three bytes (red, green, blue) a pixel, no padding.
struct RgbImage {
  int32_t width = 0;
  int32_t height = 0;
  std::vector<uint8_t> rgb;
};

// A soft device surface as RGB: 8-bit pixels through the device's palette,
// 16-bit RGB565 widened exactly as the desktop's presentation widens it, 24
// and 32 bits as stored. False for a view
// that is not one of the device's formats.
bool ViewToRgb(const soft::SurfaceView &view, RgbImage *out);

// The soft device's visible surface (the last frame flipped) as RGB. False
// before the module has set a display mode.
bool CaptureFrame(RgbImage *out);

// Writes the image as a PNG file, replacing one of that name: every byte is
// written into a temporary file in the same folder, which then takes the
// name. False, with the reason in `why`, when any write fails (the target is
// then left as it was).
bool WritePng(const std::string &path, const RgbImage &image, std::string *why = nullptr);

enum class NewPng { Written, NameTaken, Failed };
// Writes the image as a new file: the name is created exclusively, so a file
// that has it is never replaced (NameTaken). Failed, with the reason in
// `why`, when the file cannot be written; nothing is left behind then.
NewPng WriteNewPng(const std::string &path, const RgbImage &image, std::string *why = nullptr);

// Reads a PNG file as RGB (any PNG colour type). False, with the reason in
// `why`, when the file is missing ("missing", and `missing` set), cannot be
// read ("unreadable: ...") or is not a PNG ("not a PNG: ...").
bool ReadPng(const std::string &path, RgbImage *out, std::string *why, bool *missing = nullptr);

} // namespace replay

#endif
