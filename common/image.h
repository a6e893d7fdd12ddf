// A decoded sheet: width, height and one stored pixel per position, read back
// as colour values. Owned by the run; converters only read it.
#ifndef COMMON_IMAGE_H_
#define COMMON_IMAGE_H_

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "common/colour.h"

namespace common {

static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__,
              "stored pixels are read as little-endian words");

// Largest width or height an image may have; larger headers are refused.
constexpr int kMaxImageSide = 32767;

class Image {
 public:
  static constexpr int kBytesPerPixel = 4;  // red, green, blue, alpha/filler
  // Where each component lies within a stored pixel.
  static constexpr int kRed = 0;
  static constexpr int kGreen = 1;
  static constexpr int kBlue = 2;

  Image() = default;

  // Gives the image a zero-filled store of width x height pixels, dropping
  // any earlier one. Returns false (and leaves an empty image) when the
  // store cannot be allocated. Sides must be 0 to kMaxImageSide.
  bool Allocate(int width, int height);

  // Drops the store: width and height read 0 again.
  void Clear();

  int width() const { return width_; }
  int height() const { return height_; }
  bool loaded() const { return pixels_ != nullptr; }

  // Pixel reading brackets the converter's work; it can begin only on a
  // loaded image.
  bool BeginPixelReading() {
    reading_ = loaded();
    return reading_;
  }
  void EndPixelReading() { reading_ = false; }

  // Callers keep 0 <= x < width and 0 <= y < height. The alpha byte is
  // never part of the value.
  Colour PixelColour(int x, int y) const {
    return StoredColour(Row(y) + static_cast<size_t>(x) * kBytesPerPixel);
  }

  // The colour value of one stored pixel, for callers that walk a row
  // themselves: red, green and blue are the low three bytes of a
  // little-endian word, the fourth is alpha, which no colour value holds.
  static Colour StoredColour(const uint8_t* pixel) {
    uint32_t word;
    std::memcpy(&word, pixel, sizeof(word));
    return word & 0xFFFFFFu;
  }

  // The decoder writes rows in red, green, blue, alpha byte order.
  uint8_t* MutableRow(int y) {
    return pixels_.get() + static_cast<size_t>(y) * RowBytes();
  }
  const uint8_t* Row(int y) const {
    return pixels_.get() + static_cast<size_t>(y) * RowBytes();
  }
  size_t RowBytes() const {
    return static_cast<size_t>(width_) * kBytesPerPixel;
  }

 private:
  struct FreeDeleter {
    void operator()(uint8_t* p) const { std::free(p); }
  };

  int width_ = 0;
  int height_ = 0;
  bool reading_ = false;
  std::unique_ptr<uint8_t[], FreeDeleter> pixels_;
};

}  // namespace common

#endif  // COMMON_IMAGE_H_
