// png_file.cpp - PNG files through stb's encoder and reader. The encoded
// bytes go out through our own checked writes (stb's file writer ignores the
// results of fwrite and fclose), into a temporary file beside the target that
// is renamed to it only once it is complete: a failed write never leaves a
// truncated frame, nor destroys the file it was to replace.
#include "capture/frame_image.h"

#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STB_IMAGE_WRITE_STATIC
#include <stb_image_write.h>

#define STB_IMAGE_IMPLEMENTATION
#define STB_IMAGE_STATIC
#define STBI_ONLY_PNG
#include <stb_image.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <system_error>
#ifdef _WIN32
#include <io.h>
#include <process.h>
#include <sys/stat.h>
#else
#include <unistd.h>
#endif

namespace replay {
namespace {

#ifdef _WIN32
constexpr int kOpenFlags = _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY;
int OpenNew(const char *path) { return _open(path, kOpenFlags, _S_IREAD | _S_IWRITE); }
int WriteSome(int fd, const uint8_t *data, size_t size) {
  return _write(fd, data, static_cast<unsigned>(size));
}
int CloseFile(int fd) { return _close(fd); }
long ProcessId() { return static_cast<long>(_getpid()); }
#else
constexpr int kOpenFlags = O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC;
int OpenNew(const char *path) { return open(path, kOpenFlags, 0644); }
ssize_t WriteSome(int fd, const uint8_t *data, size_t size) { return write(fd, data, size); }
int CloseFile(int fd) { return close(fd); }
long ProcessId() { return static_cast<long>(getpid()); }
#endif

std::string Reason(int error) { return std::strerror(error); }

// stb hands the encoded file over in one or more pieces; the first failure
// is kept and ends the writing.
struct Sink {
  int fd = -1;
  int error = 0;
};

void WritePiece(void *context, void *data, int size) {
  Sink &sink = *static_cast<Sink *>(context);
  const auto *bytes = static_cast<const uint8_t *>(data);
  size_t left = size > 0 ? static_cast<size_t>(size) : 0;
  while (sink.error == 0 && left > 0) {
    const auto n = WriteSome(sink.fd, bytes, left);
    if (n < 0 && errno == EINTR) {
      continue;
    }
    if (n <= 0) {
      sink.error = n < 0 ? errno : EIO;
      return;
    }
    bytes += n;
    left -= static_cast<size_t>(n);
  }
}

// A name beside `path` that no other writer (thread or process) picks.
std::string TemporaryName(const std::string &path) {
  static std::atomic<unsigned> counter{0};
  return path + "." + std::to_string(ProcessId()) + "-" + std::to_string(++counter) + ".part";
}

// Encodes `image` into a new temporary file beside `path`; its name in `tmp`.
bool WriteTemporary(const std::string &path, const RgbImage &image, std::string *tmp,
                    std::string *why) {
  const size_t size = static_cast<size_t>(image.width) * static_cast<size_t>(image.height) * 3;
  if (image.width <= 0 || image.height <= 0 || image.rgb.size() != size) {
    *why = "no image to write";
    return false;
  }
  *tmp = TemporaryName(path);
  Sink sink;
  sink.fd = OpenNew(tmp->c_str());
  if (sink.fd < 0) {
    *why = Reason(errno);
    return false;
  }
  const int encoded = stbi_write_png_to_func(WritePiece, &sink, image.width, image.height, 3,
                                             image.rgb.data(), image.width * 3);
  if (CloseFile(sink.fd) != 0 && sink.error == 0) {
    sink.error = errno;
  }
  if (encoded == 0 || sink.error != 0) {
    *why = sink.error != 0 ? Reason(sink.error) : "the image could not be encoded";
    std::remove(tmp->c_str());
    return false;
  }
  return true;
}

} // namespace

bool WritePng(const std::string &path, const RgbImage &image, std::string *why) {
  std::string ignored;
  std::string &reason = why != nullptr ? *why : ignored;
  std::string tmp;
  if (!WriteTemporary(path, image, &tmp, &reason)) {
    return false;
  }
  std::error_code ec;
  std::filesystem::rename(tmp, path, ec);
  if (ec) {
    reason = ec.message();
    std::remove(tmp.c_str());
    return false;
  }
  return true;
}

NewPng WriteNewPng(const std::string &path, const RgbImage &image, std::string *why) {
  std::string ignored;
  std::string &reason = why != nullptr ? *why : ignored;
  // The name is taken first, exclusively: a file of that name, however it
  // got there, is never replaced.
  const int fd = OpenNew(path.c_str());
  if (fd < 0) {
    if (errno == EEXIST) {
      return NewPng::NameTaken;
    }
    reason = Reason(errno);
    return NewPng::Failed;
  }
  CloseFile(fd);
  std::string tmp;
  if (!WriteTemporary(path, image, &tmp, &reason)) {
    std::remove(path.c_str());
    return NewPng::Failed;
  }
  std::error_code ec;
  std::filesystem::rename(tmp, path, ec);
  if (ec) {
    reason = ec.message();
    std::remove(tmp.c_str());
    std::remove(path.c_str());
    return NewPng::Failed;
  }
  return NewPng::Written;
}

bool ReadPng(const std::string &path, RgbImage *out, std::string *why, bool *missing) {
  std::string ignored;
  std::string &reason = why != nullptr ? *why : ignored;
  if (missing != nullptr) {
    *missing = false;
  }
  std::FILE *file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) {
    const int error = errno;
    if (error == ENOENT) {
      reason = "missing";
      if (missing != nullptr) {
        *missing = true;
      }
    } else {
      reason = "unreadable: " + Reason(error);
    }
    return false;
  }
  int w = 0;
  int h = 0;
  int channels = 0;
  stbi_uc *pixels = stbi_load_from_file(file, &w, &h, &channels, 3);
  const bool readError = std::ferror(file) != 0;
  const int error = errno;
  std::fclose(file);
  if (pixels == nullptr || out == nullptr) {
    if (pixels == nullptr) {
      reason = readError ? "unreadable: " + Reason(error)
                         : std::string("not a PNG: ") + stbi_failure_reason();
    } else {
      reason = "no image";
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
