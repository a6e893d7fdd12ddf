#include "tiles/cell_analysis.h"

namespace tiles {

constexpr int kPixelBytes = common::Image::kBytesPerPixel;

void ReadCellPixels(const common::Image& image, int cx, int cy,
                    CellPixels* pixels) {
  for (int r = 0; r < kCellSide; ++r) {
    // One row pointer a pixel row: through PixelColour the compiler would
    // re-read the image's width after every store into *pixels.
    const uint8_t* p = image.Row(cy * kCellSide + r) +
                       static_cast<size_t>(cx) * kCellSide * kPixelBytes;
    for (int c = 0; c < kCellSide; ++c, p += kPixelBytes) {
      (*pixels)[r * kCellSide + c] = common::Image::StoredColour(p);
    }
  }
}

namespace {

// Every colour of the cell with its count, in order of first appearance.
void ListColours(const CellPixels& pixels, CellColours* colours) {
  int n = 0;
  for (int p = 0; p < kCellPixels; ++p) {
    int k = 0;
    while (k < n && colours->entries[k].colour != pixels[p]) ++k;
    if (k == n) {
      colours->entries[n] = {pixels[p], 0};
      ++n;
    }
    ++colours->entries[k].count;
  }
  colours->n = n;
}

}  // namespace

bool AnalyseCell(const CellPixels& pixels, CellColours* colours,
                 ColourPair* pair) {
  // Nearly every cell of a sheet keeps to two colours, so they are counted
  // and checked in passes without branches on the pixels, which the
  // compiler turns into vector code; only a cell of more colours is listed
  // one colour at a time.
  const Colour first = pixels[0];
  int first_count = 0;
  for (int q = 0; q < kCellPixels; ++q) first_count += pixels[q] == first;
  if (first_count == kCellPixels) {
    colours->entries[0] = {first, kCellPixels};
    colours->n = 1;
    *pair = {first, 0, true};
    return true;
  }
  int p = 1;
  while (pixels[p] == first) ++p;  // ends: some pixel differs
  const Colour second = pixels[p];
  int others = 0;
  for (int q = 0; q < kCellPixels; ++q) {
    others += (pixels[q] != first) & (pixels[q] != second);
  }
  if (others != 0) {
    ListColours(pixels, colours);
    return false;
  }
  colours->entries[0] = {first, first_count};
  colours->entries[1] = {second, kCellPixels - first_count};
  colours->n = 2;
  *pair = {first, second};
  return true;
}

}  // namespace tiles
