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

static_assert(kDarkBit == 1 && kLightBit == 2 && kEmptyBit == 4,
              "kShiftedIn is indexed by the class bits");

// What one pixel shifts into a byte column, by its class bits: its graphic
// bit (bit 0), its mask bit (bit 8) and, for a pixel of no class, bit 16.
// After eight pixels the graphic byte, the mask byte and the pixels of no
// class lie side by side in one word.
constexpr uint32_t kShiftedIn[8] = {
    1u << 16,      // no class
    1u | 1u << 8,  // dark: graphic and mask
    1u << 8,       // light: mask
    0,             // (never two classes)
    0,             // empty: neither
    0,             // (never two classes)
    0,             // (never two classes)
    0,             // (never two classes)
};

}  // namespace

uint8_t ReversedBits(uint8_t value) { return kReversed.of[value]; }

bool EncodeByteColumn(const common::Image& image, int left, int y, bool and_or,
                      BytePair* pair, int* wrong_x) {
  // Each pixel is shifted into one word, bits added rather than branched on:
  // in drawn sprites the classes follow no pattern a branch predictor could
  // learn. A byte column inside the image, as nearly all are, is read
  // straight from its row.
  uint32_t column = 0;
  if (left + kPixelsPerByte <= image.width()) {
    const uint8_t* p = image.Row(y) + static_cast<size_t>(left) *
                                          common::Image::kBytesPerPixel;
    for (int i = 0; i < kPixelsPerByte;
         ++i, p += common::Image::kBytesPerPixel) {
      column = (column << 1) | kShiftedIn[StoredClassBits(p)];
    }
  } else {
    for (int i = 0; i < kPixelsPerByte; ++i) {
      column =
          (column << 1) | kShiftedIn[ClassBits(SheetPixel(image, left + i, y))];
    }
  }
  unsigned graphic = column & 0xFF;
  unsigned mask = (column >> 8) & 0xFF;
  const unsigned unclassed = column >> 16;
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
