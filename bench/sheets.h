// Large, valid sheets for the benchmarks. Every pixel follows from a fixed
// seed and the sheet's size, so runs on any machine measure the same pixels.
#ifndef BENCH_SHEETS_H_
#define BENCH_SHEETS_H_

#include <vector>

#include "common/colour.h"
#include "common/image.h"
#include "testing/test_util.h"

namespace bench {

using common::Colour;

struct Sheet {
  int width = 0;
  int height = 0;
  std::vector<Colour> pixels;  // row by row
};

// The fifteen colours of the machine's screen; a tile sheet uses only these,
// so it can also be saved as a palette PNG.
const std::vector<Colour>& ScreenColours();

// A side x side tile sheet (side a multiple of 16): every 8 x 8 cell holds
// one or two screen colours, about half of the cells a single one.
Sheet TileSheet(int side);

// The most 16-row sprites a sheet can stack with a marker row between each
// two: an image is at most 32767 rows high.
constexpr int kMaxSprites = (common::kMaxImageSide + 1) / 17;

// A sprite sheet 256 pixels wide: `sprites` sprites of 16 rows of dark,
// light and empty pixels, each but the last followed by a marker row.
Sheet SpriteSheet(int sprites);

// The sheet as an 8-bit RGB PNG, interlaced or not.
testing_util::PngLayout RgbLayout(const Sheet& sheet, bool interlaced);

// The sheet as an 8-bit palette PNG of the screen colours.
testing_util::PngLayout PaletteLayout(const Sheet& sheet);

// The sheet as the loader would hand it over; false if the store cannot be
// allocated.
bool ToImage(const Sheet& sheet, common::Image* image);

}  // namespace bench

#endif  // BENCH_SHEETS_H_
