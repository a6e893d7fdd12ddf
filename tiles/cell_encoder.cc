#include "tiles/cell_encoder.h"

namespace tiles {

using common::BlueOf;
using common::GreenOf;
using common::RedOf;

ClearAndSet OrderColours(const ColourPair& pair) {
  if (GreenOf(pair.second) > 127 || pair.second > pair.first) {
    return {pair.second, pair.first};
  }
  return {pair.first, pair.second};
}

namespace {

// Green, red and blue bits of one colour field, shifted to its place.
uint8_t ColourField(Colour c, int shift) {
  int bits = (GreenOf(c) > 127 ? 4 : 0) | (RedOf(c) > 127 ? 2 : 0) |
             (BlueOf(c) > 127 ? 1 : 0);
  return static_cast<uint8_t>(bits << shift);
}

bool Bright(Colour c) {
  return RedOf(c) > 191 || GreenOf(c) > 191 || BlueOf(c) > 191;
}

}  // namespace

uint8_t AttributeByte(const ClearAndSet& colours) {
  uint8_t attribute = ColourField(colours.clear, 3) | ColourField(colours.set, 0);
  if (Bright(colours.clear) || Bright(colours.set)) attribute |= 0x40;
  return attribute;
}

void EncodeCell(int cx, int cy, const CellPixels& pixels,
                const ColourPair& pair, CellTables* tables) {
  ClearAndSet colours = OrderColours(pair);
  tables->Attribute(cx, cy) = AttributeByte(colours);
  if (pair.single) {
    // Flat areas are common in drawn sheets: every row is the same byte.
    const uint8_t byte = pair.first == colours.set ? 0xFF : 0x00;
    for (int r = 0; r < kCellSide; ++r) {
      tables->PixelByte(cx, cy * kCellSide + r) = byte;
    }
    return;
  }
  for (int r = 0; r < kCellSide; ++r) {
    // Set bits are added, not branched on: in drawn cells they follow no
    // pattern a branch predictor could learn.
    unsigned byte = 0;
    for (int c = 0; c < kCellSide; ++c) {
      byte = (byte << 1) + (pixels[r * kCellSide + c] == colours.set);
    }
    tables->PixelByte(cx, cy * kCellSide + r) = static_cast<uint8_t>(byte);
  }
}

}  // namespace tiles
