// The colour value through which every colour test passes: red in bits 0-7,
// green in bits 8-15, blue in bits 16-23, bits 24-31 always 0.
#ifndef COMMON_COLOUR_H_
#define COMMON_COLOUR_H_

#include <cstdint>

namespace common {

using Colour = uint32_t;

inline int RedOf(Colour c) { return c & 255; }
inline int GreenOf(Colour c) { return (c >> 8) & 255; }
inline int BlueOf(Colour c) { return (c >> 16) & 255; }

// Components are not masked: callers pass 0 to 255.
inline Colour ColourFrom(int r, int g, int b) {
  return static_cast<Colour>(r + 256 * g + 65536 * b);
}

}  // namespace common

#endif  // COMMON_COLOUR_H_
