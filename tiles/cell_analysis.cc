#include "tiles/cell_analysis.h"

namespace tiles {

bool AnalyseCell(const CellPixels& pixels, CellColours* colours,
                 ColourPair* pair) {
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
  if (colours->entries[0].count == kCellPixels) {
    *pair = {colours->entries[0].colour, 0};
    return true;
  }
  if (n > 2) return false;
  *pair = {colours->entries[0].colour, colours->entries[1].colour};
  return true;
}

}  // namespace tiles
