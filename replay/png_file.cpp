// png_file.cpp - PNG files through stb's writer and reader.
#include "replay/frame_image.h"

#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STB_IMAGE_WRITE_STATIC
#include <stb_image_write.h>

#define STB_IMAGE_IMPLEMENTATION
#define STB_IMAGE_STATIC
#define STBI_ONLY_PNG
#include <stb_image.h>

#include <cstdio>

namespace replay {

bool WritePng(const std::string &path, const RgbImage &image) {
  const size_t size = static_cast<size_t>(image.width) * static_cast<size_t>(image.height) * 3;
  if (image.width <= 0 || image.height <= 0 || image.rgb.size() != size) {
    return false;
  }
  return stbi_write_png(path.c_str(), image.width, image.height, 3, image.rgb.data(),
                        image.width * 3) != 0;
}

bool ReadPng(const std::string &path, RgbImage *out, std::string *why) {
  std::FILE *file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) {
    if (why != nullptr) {
      *why = "missing";
    }
    return false;
  }
  int w = 0;
  int h = 0;
  int channels = 0;
  stbi_uc *pixels = stbi_load_from_file(file, &w, &h, &channels, 3);
  std::fclose(file);
  if (pixels == nullptr || out == nullptr) {
    if (why != nullptr) {
      *why = pixels == nullptr ? std::string("not a PNG: ") + stbi_failure_reason() : "no image";
    }
    stbi_image_free(pixels);
    return false;
  }
  out->width = w;
  out->height = h;
  out->rgb.assign(pixels, pixels + static_cast<size_t>(w) * static_cast<size_t>(h) * 3);
  stbi_image_free(pixels);
  return true;
}

} // namespace replay
