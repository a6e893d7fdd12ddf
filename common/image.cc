#include "common/image.h"

namespace common {

bool Image::Allocate(int width, int height) {
  Clear();
  if (width < 0 || height < 0 || width > kMaxImageSide ||
      height > kMaxImageSide) {
    return false;
  }
  size_t bytes = static_cast<size_t>(width) * height * kBytesPerPixel;
  // calloc keeps untouched pages unmapped, so rows a damaged file never
  // delivers cost no memory.
  uint8_t* p = static_cast<uint8_t*>(std::calloc(bytes == 0 ? 1 : bytes, 1));
  if (p == nullptr) return false;
  pixels_.reset(p);
  width_ = width;
  height_ = height;
  return true;
}

void Image::Clear() {
  pixels_.reset();
  width_ = 0;
  height_ = 0;
  reading_ = false;
}

}  // namespace common
