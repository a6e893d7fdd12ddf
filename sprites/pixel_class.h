// How a sprite sheet's pixels are told apart: marker pixels end a sprite in
// column 0; every encoded pixel is dark, light or empty (a strong red, where
// the background shows), or fits no class.
#ifndef SPRITES_PIXEL_CLASS_H_
#define SPRITES_PIXEL_CLASS_H_

#include "common/colour.h"
#include "common/image.h"

namespace sprites {

using common::BlueOf;
using common::Colour;
using common::GreenOf;
using common::RedOf;

enum class PixelClass { kDark, kLight, kEmpty, kNone };

// A strong green: red below 63, green above 127, blue below 63.
inline bool IsMarker(Colour c) {
  return RedOf(c) < 63 && GreenOf(c) > 127 && BlueOf(c) < 63;
}

// A strong red: red above 127, green and blue below 127. The same test
// decides both the trims and the empty class.
inline bool IsEmpty(Colour c) {
  return RedOf(c) > 127 && GreenOf(c) < 127 && BlueOf(c) < 127;
}

// Every comparison is strict, so a component of exactly 127 gives kNone.
inline PixelClass ClassOf(Colour c) {
  int r = RedOf(c), g = GreenOf(c), b = BlueOf(c);
  if (r < 127 && g < 127 && b < 127) return PixelClass::kDark;
  if (r > 127 && g > 127 && b > 127) return PixelClass::kLight;
  if (r > 127 && g < 127 && b < 127) return PixelClass::kEmpty;
  return PixelClass::kNone;
}

// What a column right of the image's last one holds. A trimmed width is a
// multiple of 8 and can pass the right edge of a sheet whose width is not;
// those columns read as empty and are never asked of the image.
constexpr Colour kBeyondRightEdge = 0x0000FF;

// The pixel at (x, y) for the trims and the encoder: callers keep
// 0 <= x and 0 <= y < height; x may pass the right edge.
inline Colour SheetPixel(const common::Image& image, int x, int y) {
  return x < image.width() ? image.PixelColour(x, y) : kBeyondRightEdge;
}

}  // namespace sprites

#endif  // SPRITES_PIXEL_CLASS_H_
