#include "sprites/byte_column.h"

#include "sprites/pixel_class.h"

namespace sprites {

namespace {

struct ReversalTable {
  uint8_t of[256];
};

// Every byte reversed, worked out once at compile time: one lookup a byte
// column instead of eight steps.
constexpr ReversalTable MakeReversalTable() {
  ReversalTable table{};
  for (unsigned v = 0; v < 256; ++v) {
    unsigned value = v;
    unsigned result = 0;
    for (int j = 0; j < 8; ++j) {
      result = (result << 1) | (value & 1u);
      value >>= 1;
    }
    table.of[v] = static_cast<uint8_t>(result);
  }
  return table;
}
constexpr ReversalTable kReversed = MakeReversalTable();

}  // namespace

uint8_t ReversedBits(uint8_t value) { return kReversed.of[value]; }

bool EncodeByteColumn(const common::Image& image, int left, int y, bool and_or,
                      BytePair* pair, int* wrong_x) {
  // The classes of the eight pixels; a byte column inside the image, as
  // nearly all are, is read straight from its row.
  unsigned bits[kPixelsPerByte];
  if (left + kPixelsPerByte <= image.width()) {
    const uint8_t* p =
        image.Row(y) + static_cast<size_t>(left) * common::Image::kBytesPerPixel;
    for (int i = 0; i < kPixelsPerByte; ++i, p += common::Image::kBytesPerPixel) {
      bits[i] = ClassBits(p[0], p[1], p[2]);
    }
  } else {
    for (int i = 0; i < kPixelsPerByte; ++i) {
      bits[i] = ClassBits(SheetPixel(image, left + i, y));
    }
  }
  // The bits are added, not branched on: in drawn sprites the classes
  // follow no pattern a branch predictor could learn. Pixels of no class are
  // only noted here and looked for after the loop.
  unsigned graphic = 0;
  unsigned mask = 0;
  unsigned unclassed = 0;
  for (int i = 0; i < kPixelsPerByte; ++i) {
    graphic = (graphic << 1) | (bits[i] & kDarkBit);
    mask = (mask << 1) | ((bits[i] & (kDarkBit | kLightBit)) != 0);
    unclassed = (unclassed << 1) | (bits[i] == 0);
  }
  if (unclassed != 0) {
    int i = 0;
    while ((unclassed & (0x80u >> i)) == 0) ++i;
    *wrong_x = left + i;
    return false;
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
