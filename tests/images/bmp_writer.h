// Writing small Windows bitmap files for the tests.
#ifndef VANTREL_TESTS_IMAGES_BMP_WRITER_H
#define VANTREL_TESTS_IMAGES_BMP_WRITER_H

#include <cstdint>
#include <string>
#include <vector>

namespace bmp {

// An uncompressed bitmap: `pixels` holds width x height values, top row
// first; colours as 0x00RRGGBB for 24 and 32 bits per pixel, palette indices
// for 1, 4 and 8 (with `palette` as 0x00RRGGBB).
struct Image {
  int32_t width = 0;
  int32_t height = 0;
  int bpp = 24;
  bool topDown = false; // stored with a negative height, top row first
  std::vector<uint32_t> palette;
  std::vector<uint32_t> pixels;
};

// The bytes of a BITMAPFILEHEADER + BITMAPINFOHEADER file for `image`.
std::vector<uint8_t> Encode(const Image &image);

// A width x height 24-bit image of one colour.
Image Solid(int32_t width, int32_t height, uint32_t rgb);

// The colour `image` shows at (x, y), as 0x00RRGGBB.
uint32_t ColourAt(const Image &image, int32_t x, int32_t y);

// Writes `bytes` to `path`; false when the file could not be written.
bool WriteFile(const std::string &path, const std::vector<uint8_t> &bytes);
bool WriteFile(const std::string &path, const Image &image);

// A fresh empty folder for one test, removed with its files on destruction.
class TempDir {
public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir &) = delete;
  TempDir &operator=(const TempDir &) = delete;
  const std::string &Path() const { return path_; }
  std::string File(const std::string &name) const { return path_ + "/" + name; }

private:
  std::string path_;
};

} // namespace bmp

#endif
