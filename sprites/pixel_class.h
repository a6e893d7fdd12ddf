// How a sprite sheet's pixels are told apart: marker pixels end a sprite in
// column 0; every encoded pixel is dark, light or empty (a strong red, where
// the background shows), or fits no class.
#ifndef SPRITES_PIXEL_CLASS_H_
#define SPRITES_PIXEL_CLASS_H_

#include <cstdint>

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

// The classes as bits, for the encoder: it adds the bits of eight pixels
// without branching on them.
constexpr unsigned kDarkBit = 1;
constexpr unsigned kLightBit = 2;
constexpr unsigned kEmptyBit = 4;

// For every value of one component, the classes it leaves possible; a
// pixel's class is what its red, green and blue all leave. Every comparison
// is strict: 127 leaves none.
struct ComponentClasses {
  uint32_t red[256];
  uint32_t green_or_blue[256];
};
constexpr ComponentClasses MakeComponentClasses() {
  ComponentClasses table{};
  for (int v = 0; v < 256; ++v) {
    table.red[v] = v < 127 ? kDarkBit : v > 127 ? kLightBit | kEmptyBit : 0;
    table.green_or_blue[v] = v < 127   ? kDarkBit | kEmptyBit
                             : v > 127 ? kLightBit
                                       : 0;
  }
  return table;
}
inline constexpr ComponentClasses kComponentClasses = MakeComponentClasses();

// One of the three bits, or 0 for a pixel of no class.
inline unsigned ClassBits(uint8_t red, uint8_t green, uint8_t blue) {
  return kComponentClasses.red[red] & kComponentClasses.green_or_blue[green] &
         kComponentClasses.green_or_blue[blue];
}

inline unsigned ClassBits(Colour c) {
  return ClassBits(static_cast<uint8_t>(RedOf(c)),
                   static_cast<uint8_t>(GreenOf(c)),
                   static_cast<uint8_t>(BlueOf(c)));
}

// The same for a pixel of the store, read as its red, green and blue bytes:
// taking them apart from one word costs the encoder a third of its time.
inline unsigned StoredClassBits(const uint8_t* pixel) {
  return ClassBits(pixel[common::Image::kRed], pixel[common::Image::kGreen],
                   pixel[common::Image::kBlue]);
}

inline PixelClass ClassOf(Colour c) {
  switch (ClassBits(c)) {
    case kDarkBit:
      return PixelClass::kDark;
    case kLightBit:
      return PixelClass::kLight;
    case kEmptyBit:
      return PixelClass::kEmpty;
    default:
      return PixelClass::kNone;
  }
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
