// Colour analysis of one 8 x 8 character cell: which colours it holds, in
// order of first appearance, and whether it keeps to two.
#ifndef TILES_CELL_ANALYSIS_H_
#define TILES_CELL_ANALYSIS_H_

#include <cstdint>

#include "common/colour.h"
#include "common/image.h"

namespace tiles {

using common::Colour;

constexpr int kCellSide = 8;
constexpr int kCellPixels = kCellSide * kCellSide;

// The cell's pixels, index r * 8 + c (row r, column c within the cell).
using CellPixels = Colour[kCellPixels];

// Copies the pixels of cell (cx, cy), which must lie inside the image.
void ReadCellPixels(const common::Image& image, int cx, int cy,
                    CellPixels* pixels);

// Colours of one cell in order of first appearance. Room for every pixel,
// so a cell of many colours is listed whole and nothing is written outside.
struct CellColours {
  struct Entry {
    Colour colour;
    int32_t count;
  };
  Entry entries[kCellPixels];
  int n;
};

struct ColourPair {
  Colour first;
  Colour second;  // 0 for a single-colour cell
  // True only when every pixel is the first colour: the encoder then knows
  // the pixel bytes without comparing pixels. A pair marked false is still
  // encoded right, only without that short cut.
  bool single = false;
};

// Fills *colours and returns true with *pair for a cell of one or two
// colours; false for a cell of more than two.
bool AnalyseCell(const CellPixels& pixels, CellColours* colours,
                 ColourPair* pair);

}  // namespace tiles

#endif  // TILES_CELL_ANALYSIS_H_
