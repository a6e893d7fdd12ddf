// The byte-column encoder: eight pixels of one sprite row become a mask byte
// (bits reversed, leftmost pixel in bit 0) and a graphic byte (leftmost
// pixel in bit 7).
#ifndef SPRITES_BYTE_COLUMN_H_
#define SPRITES_BYTE_COLUMN_H_

#include <cstdint>

#include "common/image.h"

namespace sprites {

constexpr int kPixelsPerByte = 8;

struct BytePair {
  uint8_t mask;
  uint8_t graphic;
};

// Encodes the pixels x = left .. left + 7 of image row y. Without and_or the
// graphic marks dark pixels and the mask the sprite's own (dark and light)
// ones; with and_or the graphic marks light pixels and the mask the empty
// ones. Returns false with *wrong_x set at the first pixel of no class, and
// leaves *pair alone then.
bool EncodeByteColumn(const common::Image& image, int left, int y, bool and_or,
                      BytePair* pair, int* wrong_x);

// Bit j moves to bit 7 - j.
uint8_t ReversedBits(uint8_t value);

}  // namespace sprites

#endif  // SPRITES_BYTE_COLUMN_H_
