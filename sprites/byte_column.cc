#include "sprites/byte_column.h"

#include "sprites/pixel_class.h"

namespace sprites {

uint8_t ReversedBits(uint8_t value) {
  unsigned result = 0;
  for (int j = 0; j < 8; ++j) {
    result = (result << 1) | (value & 1u);
    value >>= 1;
  }
  return static_cast<uint8_t>(result);
}

bool EncodeByteColumn(const common::Image& image, int left, int y, bool and_or,
                      BytePair* pair, int* wrong_x) {
  unsigned graphic = 0;
  unsigned mask = 0;
  for (int i = 0; i < kPixelsPerByte; ++i) {
    graphic <<= 1;
    mask <<= 1;
    switch (ClassOf(SheetPixel(image, left + i, y))) {
      case PixelClass::kDark:
        graphic |= 1;
        mask |= 1;
        break;
      case PixelClass::kLight:
        mask |= 1;
        break;
      case PixelClass::kEmpty:
        break;
      case PixelClass::kNone:
        *wrong_x = left + i;
        return false;
    }
  }
  if (and_or) {
    graphic ^= mask;
    mask ^= 0xFF;
  }
  pair->mask = ReversedBits(static_cast<uint8_t>(mask));
  pair->graphic = static_cast<uint8_t>(graphic);
  return true;
}

}  // namespace sprites
