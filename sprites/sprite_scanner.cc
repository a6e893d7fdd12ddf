#include "sprites/sprite_scanner.h"

#include "sprites/pixel_class.h"

namespace sprites {

SpriteScanner::SpriteScanner(const common::Image& image, bool cut_right,
                             bool cut_up)
    : image_(image),
      cut_right_(cut_right),
      cut_up_(cut_up),
      rows_remaining_(image.loaded() && image.width() > 0 ? image.height()
                                                          : 0) {}

bool SpriteScanner::Next(SpriteExtent* extent) {
  if (rows_remaining_ == 0) return false;
  extent->index = next_index_++;
  extent->top = next_row_;
  extent->height = 0;
  extent->width = image_.width();
  extent->firstOutputRow = 0;
  // The marker row ending a sprite belongs to no sprite; the bottom of the
  // sheet ends the last one.
  bool marker;
  do {
    marker = IsMarker(image_.PixelColour(0, next_row_));
    --rows_remaining_;
    ++next_row_;
    if (!marker) ++extent->height;
  } while (!marker && rows_remaining_ > 0);

  if (cut_right_) extent->width = (RightmostUsedColumn(*extent) | 7) + 1;
  if (cut_up_) extent->firstOutputRow = FirstUsedRow(*extent);
  return true;
}

int SpriteScanner::RightmostUsedColumn(const SpriteExtent& extent) const {
  // Column 0 gives 0 whether or not it is used, so it is not searched.
  for (int x = image_.width() - 1; x > 0; --x) {
    for (int r = 0; r < extent.height; ++r) {
      if (!IsEmpty(image_.PixelColour(x, extent.top + r))) return x;
    }
  }
  return 0;
}

int SpriteScanner::FirstUsedRow(const SpriteExtent& extent) const {
  for (int r = 0; r < extent.height; ++r) {
    for (int x = 0; x < extent.width; ++x) {
      if (!IsEmpty(SheetPixel(image_, x, extent.top + r))) return r;
    }
  }
  return extent.height > 0 ? extent.height - 1 : 0;
}

}  // namespace sprites
