#include "bmp_writer.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>

namespace bmp {

namespace {

void Put16(std::vector<uint8_t> &out, uint32_t v) {
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}

void Put32(std::vector<uint8_t> &out, uint32_t v) {
  Put16(out, v & 0xFFFFu);
  Put16(out, v >> 16);
}

size_t RowBytes(const Image &image) {
  const size_t bits = static_cast<size_t>(image.width) * static_cast<size_t>(image.bpp);
  return (bits + 31) / 32 * 4;
}

void PutRow(std::vector<uint8_t> &out, const Image &image, int32_t y) {
  const size_t start = out.size();
  const uint32_t *row = image.pixels.data() + static_cast<size_t>(y) * image.width;
  if (image.bpp >= 24) {
    for (int32_t x = 0; x < image.width; ++x) {
      out.push_back(static_cast<uint8_t>(row[x]));       // blue
      out.push_back(static_cast<uint8_t>(row[x] >> 8));  // green
      out.push_back(static_cast<uint8_t>(row[x] >> 16)); // red
      if (image.bpp == 32) {
        out.push_back(0);
      }
    }
  } else {
    // Indices packed from the most significant bits of each byte.
    const int perByte = 8 / image.bpp;
    for (int32_t x = 0; x < image.width; x += perByte) {
      uint32_t byte = 0;
      for (int i = 0; i < perByte; ++i) {
        const uint32_t index = x + i < image.width ? row[x + i] : 0;
        byte |= (index & ((1u << image.bpp) - 1)) << (8 - image.bpp * (i + 1));
      }
      out.push_back(static_cast<uint8_t>(byte));
    }
  }
  out.resize(start + RowBytes(image), 0);
}

} // namespace

std::vector<uint8_t> Encode(const Image &image) {
  const uint32_t paletteBytes = static_cast<uint32_t>(image.palette.size()) * 4;
  const uint32_t offBits = 14 + 40 + paletteBytes;
  const uint32_t imageBytes =
      static_cast<uint32_t>(RowBytes(image)) * static_cast<uint32_t>(image.height);
  std::vector<uint8_t> out;
  out.push_back('B');
  out.push_back('M');
  Put32(out, offBits + imageBytes);
  Put32(out, 0);
  Put32(out, offBits);
  Put32(out, 40);
  Put32(out, static_cast<uint32_t>(image.width));
  Put32(out, static_cast<uint32_t>(image.topDown ? -image.height : image.height));
  Put16(out, 1);
  Put16(out, static_cast<uint32_t>(image.bpp));
  Put32(out, 0); // BI_RGB
  Put32(out, imageBytes);
  Put32(out, 2835);
  Put32(out, 2835);
  Put32(out, static_cast<uint32_t>(image.palette.size()));
  Put32(out, 0);
  for (uint32_t rgb : image.palette) {
    Put32(out, rgb & 0x00FFFFFFu); // blue, green, red, 0
  }
  for (int32_t i = 0; i < image.height; ++i) {
    PutRow(out, image, image.topDown ? i : image.height - 1 - i);
  }
  return out;
}

Image Solid(int32_t width, int32_t height, uint32_t rgb) {
  Image image;
  image.width = width;
  image.height = height;
  image.pixels.assign(static_cast<size_t>(width) * static_cast<size_t>(height), rgb);
  return image;
}

uint32_t ColourAt(const Image &image, int32_t x, int32_t y) {
  const uint32_t v = image.pixels[static_cast<size_t>(y) * image.width + x];
  return image.bpp >= 24 ? (v & 0x00FFFFFFu) : image.palette.at(v);
}

bool WriteFile(const std::string &path, const std::vector<uint8_t> &bytes) {
  std::FILE *f = std::fopen(path.c_str(), "wb");
  if (f == nullptr) {
    return false;
  }
  const bool ok = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  return std::fclose(f) == 0 && ok;
}

bool WriteFile(const std::string &path, const Image &image) {
  return WriteFile(path, Encode(image));
}

TempDir::TempDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "vantrel-XXXXXX").string();
  if (mkdtemp(pattern.data()) != nullptr) {
    path_ = pattern;
  }
}

TempDir::~TempDir() {
  if (!path_.empty()) {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
}

} // namespace bmp
