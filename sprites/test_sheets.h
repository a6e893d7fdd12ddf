// Sprite sheets drawn as text for the sprite converter's tests: E empty
// (strong red), D dark, L light, M marker (strong green), Y yellow (no
// class).
#ifndef SPRITES_TEST_SHEETS_H_
#define SPRITES_TEST_SHEETS_H_

#include <string>
#include <utility>
#include <vector>

#include "testing/test_util.h"

namespace sprites_test {

inline const std::vector<std::pair<char, testing_util::Colour>>& Legend() {
  static const std::vector<std::pair<char, testing_util::Colour>> legend = {
      {'E', 0x0000FF},
      {'D', 0x000000},
      {'L', 0xFFFFFF},
      {'M', 0x00FF00},
      {'Y', 0x00FFFF}};
  return legend;
}

inline std::vector<testing_util::Colour> SheetPixels(
    const std::vector<std::string>& rows) {
  return testing_util::PixelsFromRows(rows, Legend());
}

// 16 x 6, two sprites; the rest of the marker row is yellow, which stops the
// run if it is ever encoded.
inline const std::vector<std::string>& DemoRows() {
  static const std::vector<std::string> rows = {
      "EEEEEEEEEEEEEEEE",  //
      "EDDLLLEEEEEEEEEE",  //
      "DDDDLLLLEEEEEEEE",  //
      "MYYYYYYYYYYYYYYY",  //
      "DEEEEEEEEEEEEEEE",  //
      "EEEEEEEEEDEEEEEE",
  };
  return rows;
}

}  // namespace sprites_test

#endif  // SPRITES_TEST_SHEETS_H_
