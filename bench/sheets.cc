#include "bench/sheets.h"

#include <cstdint>

namespace bench {
namespace {

// splitmix64: small, fast and the same everywhere.
class Random {
 public:
  explicit Random(uint64_t seed) : state_(seed) {}
  uint64_t Next() {
    uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  int Below(int n) {
    return static_cast<int>(Next() % static_cast<uint64_t>(n));
  }

 private:
  uint64_t state_;
};

constexpr Colour kDark = 0x000000;
constexpr Colour kLight = 0xFFFFFF;
constexpr Colour kEmpty = 0x0000FF;   // strong red
constexpr Colour kMarker = 0x00FF00;  // strong green
constexpr int kSpriteSheetWidth = 256;
constexpr int kSpriteRows = 16;

}  // namespace

const std::vector<Colour>& ScreenColours() {
  static const std::vector<Colour> colours = [] {
    std::vector<Colour> list;
    for (int level : {0xD7, 0xFF}) {
      for (int bits = 0; bits < 8; ++bits) {
        if (level == 0xFF && bits == 0) continue;  // black is not brighter
        list.push_back(common::ColourFrom(
            bits & 2 ? level : 0, bits & 4 ? level : 0, bits & 1 ? level : 0));
      }
    }
    return list;
  }();
  return colours;
}

Sheet TileSheet(int side) {
  const std::vector<Colour>& colours = ScreenColours();
  const int n = static_cast<int>(colours.size());
  Sheet sheet;
  sheet.width = side;
  sheet.height = side;
  sheet.pixels.resize(static_cast<size_t>(side) * side);
  Random random(0x7117E5u + static_cast<uint64_t>(side));
  for (int cy = 0; cy < side / 8; ++cy) {
    for (int cx = 0; cx < side / 8; ++cx) {
      int first_index = random.Below(n);
      Colour first = colours[first_index];
      Colour second = first;
      uint64_t bits = 0;
      if (random.Next() & 1) {
        second = colours[(first_index + 1 + random.Below(n - 1)) % n];
        // Both colours appear: the first in pixel 0, the second in pixel 63.
        bits = (random.Next() & ~1ull) | (1ull << 63);
      }
      for (int r = 0; r < 8; ++r) {
        Colour* row =
            &sheet.pixels[static_cast<size_t>(cy * 8 + r) * side + cx * 8];
        for (int c = 0; c < 8; ++c) {
          row[c] = (bits >> (r * 8 + c)) & 1 ? second : first;
        }
      }
    }
  }
  return sheet;
}

Sheet SpriteSheet(int sprites) {
  Sheet sheet;
  sheet.width = kSpriteSheetWidth;
  sheet.height = sprites > 0 ? sprites * (kSpriteRows + 1) - 1 : 0;
  sheet.pixels.assign(static_cast<size_t>(sheet.width) * sheet.height, kEmpty);
  Random random(0x5B417E5u);
  const Colour classes[] = {kDark, kLight, kEmpty};
  for (int s = 0; s < sprites; ++s) {
    int top = s * (kSpriteRows + 1);
    for (int r = 0; r < kSpriteRows; ++r) {
      Colour* row = &sheet.pixels[static_cast<size_t>(top + r) * sheet.width];
      for (int x = 0; x < sheet.width; ++x) row[x] = classes[random.Below(3)];
    }
    if (s + 1 < sprites) {
      sheet.pixels[static_cast<size_t>(top + kSpriteRows) * sheet.width] =
          kMarker;
    }
  }
  return sheet;
}

testing_util::PngLayout RgbLayout(const Sheet& sheet, bool interlaced) {
  return testing_util::RgbLayout(sheet.width, sheet.height, sheet.pixels,
                                 interlaced);
}

testing_util::PngLayout PaletteLayout(const Sheet& sheet) {
  const std::vector<Colour>& colours = ScreenColours();
  testing_util::PngLayout layout;
  layout.width = sheet.width;
  layout.height = sheet.height;
  layout.colour_type = 3;
  layout.palette = colours;
  layout.samples.reserve(sheet.pixels.size());
  for (Colour c : sheet.pixels) {
    size_t index = 0;
    while (index + 1 < colours.size() && colours[index] != c) ++index;
    layout.samples.push_back(static_cast<uint16_t>(index));
  }
  return layout;
}

bool ToImage(const Sheet& sheet, common::Image* image) {
  if (!image->Allocate(sheet.width, sheet.height)) return false;
  for (int y = 0; y < sheet.height; ++y) {
    uint8_t* row = image->MutableRow(y);
    const Colour* source = &sheet.pixels[static_cast<size_t>(y) * sheet.width];
    for (int x = 0; x < sheet.width; ++x) {
      row[4 * x] = static_cast<uint8_t>(common::RedOf(source[x]));
      row[4 * x + 1] = static_cast<uint8_t>(common::GreenOf(source[x]));
      row[4 * x + 2] = static_cast<uint8_t>(common::BlueOf(source[x]));
      row[4 * x + 3] = 0xFF;
    }
  }
  return true;
}

}  // namespace bench
