// The sprite scanner: finds the sprites of a sheet from the top down, each a
// run of whole rows ended by a marker row (a marker pixel in column 0), and
// measures each, trimming its empty right and top edges on request.
#ifndef SPRITES_SPRITE_SCANNER_H_
#define SPRITES_SPRITE_SCANNER_H_

#include "common/image.h"

namespace sprites {

struct SpriteExtent {
  int index;           // from 0; every sprite counts, also one of height 0
  int top;             // image row of the sprite's first row
  int height;          // rows before the top trim
  int width;           // pixels to encode: the sheet's, or trimmed (8k, >= 8)
  int firstOutputRow;  // offset from top of the first row written

  // Without the right trim the sheet's last width % 8 columns are dropped.
  int byteColumns() const { return width / 8; }
  int outputRows() const { return height - firstOutputRow; }
};

class SpriteScanner {
 public:
  // The image is borrowed and must stay open for pixel reading while the
  // scanner is used. An image without pixels (one that failed to load)
  // yields no sprite.
  SpriteScanner(const common::Image& image, bool cut_right, bool cut_up);

  // Scans the next sprite into *extent; false once the sheet is finished.
  bool Next(SpriteExtent* extent);

 private:
  // Rightmost column holding a non-empty pixel of the sprite's rows, 0 when
  // there is none.
  int RightmostUsedColumn(const SpriteExtent& extent) const;
  // First row holding a non-empty pixel in columns 0 .. width - 1; the last
  // row when every row is empty, so that one row is still written.
  int FirstUsedRow(const SpriteExtent& extent) const;

  const common::Image& image_;
  bool cut_right_;
  bool cut_up_;
  int next_row_ = 0;
  int rows_remaining_;
  int next_index_ = 0;
};

}  // namespace sprites

#endif  // SPRITES_SPRITE_SCANNER_H_
