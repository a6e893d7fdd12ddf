// Turns an analysed cell into eight pixel bytes (one bit per pixel) and one
// attribute byte naming its two colours, stored in the two cell tables.
#ifndef TILES_CELL_ENCODER_H_
#define TILES_CELL_ENCODER_H_

#include <cstddef>
#include <cstdint>
#include <vector>

#include "tiles/cell_analysis.h"

namespace tiles {

// The pixel bytes of every cell, addressed by cell column and absolute
// pixel row, and the attribute byte of every cell. Zero-filled at creation.
class CellTables {
 public:
  CellTables(int cells_across, int cells_down)
      : cells_across_(cells_across),
        pixel_bytes_(static_cast<size_t>(cells_across) * cells_down *
                     kCellSide),
        attributes_(static_cast<size_t>(cells_across) * cells_down) {}

  uint8_t PixelByte(int cx, int pixel_row) const {
    return pixel_bytes_[static_cast<size_t>(pixel_row) * cells_across_ + cx];
  }
  uint8_t& PixelByte(int cx, int pixel_row) {
    return pixel_bytes_[static_cast<size_t>(pixel_row) * cells_across_ + cx];
  }
  uint8_t Attribute(int cx, int cy) const {
    return attributes_[static_cast<size_t>(cy) * cells_across_ + cx];
  }
  uint8_t& Attribute(int cx, int cy) {
    return attributes_[static_cast<size_t>(cy) * cells_across_ + cx];
  }

 private:
  int cells_across_;
  std::vector<uint8_t> pixel_bytes_;
  std::vector<uint8_t> attributes_;
};

// Which colour of the pair is cleared (high colour field, 0 bits) and which
// is set (low colour field, 1 bits).
struct ClearAndSet {
  Colour clear;
  Colour set;
};
ClearAndSet OrderColours(const ColourPair& pair);

uint8_t AttributeByte(const ClearAndSet& colours);

// Fills the eight pixel bytes and the attribute byte of cell (cx, cy).
void EncodeCell(int cx, int cy, const CellPixels& pixels,
                const ColourPair& pair, CellTables* tables);

}  // namespace tiles

#endif  // TILES_CELL_ENCODER_H_
