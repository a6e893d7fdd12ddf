// Pixel classes, the marker test and the byte-column encoder.
#include "sprites/byte_column.h"

#include <gtest/gtest.h>

#include "sprites/pixel_class.h"
#include "sprites/test_sheets.h"
#include "testing/test_util.h"

namespace sprites {
namespace {

using common::ColourFrom;

TEST(PixelClass, ThresholdsAreStrict) {
  struct Case {
    int r, g, b;
    PixelClass pixel_class;
    bool marker;
  };
  const Case cases[] = {
      {126, 126, 126, PixelClass::kDark, false},
      {127, 127, 127, PixelClass::kNone, false},
      {128, 128, 128, PixelClass::kLight, false},
      {0, 0, 0, PixelClass::kDark, false},
      {255, 255, 255, PixelClass::kLight, false},
      {126, 0, 0, PixelClass::kDark, false},
      {127, 0, 0, PixelClass::kNone, false},
      {128, 127, 127, PixelClass::kNone, false},
      {128, 126, 126, PixelClass::kEmpty, false},
      {255, 0, 0, PixelClass::kEmpty, false},
      {255, 127, 0, PixelClass::kNone, false},
      {255, 0, 127, PixelClass::kNone, false},
      {255, 255, 0, PixelClass::kNone, false},  // yellow
      {0, 0, 255, PixelClass::kNone, false},    // blue
      {255, 0, 255, PixelClass::kNone, false},  // magenta
      {0, 255, 255, PixelClass::kNone, false},  // cyan
      {0, 255, 0, PixelClass::kNone, true},
      {62, 128, 62, PixelClass::kNone, true},
      {63, 255, 0, PixelClass::kNone, false},
      {0, 127, 0, PixelClass::kNone, false},
      {0, 255, 63, PixelClass::kNone, false},
  };
  for (const Case& c : cases) {
    common::Colour colour = ColourFrom(c.r, c.g, c.b);
    SCOPED_TRACE(testing::Message() << c.r << "," << c.g << "," << c.b);
    EXPECT_EQ(ClassOf(colour), c.pixel_class);
    EXPECT_EQ(IsEmpty(colour), c.pixel_class == PixelClass::kEmpty);
    EXPECT_EQ(IsMarker(colour), c.marker);
  }
}

struct Encoded {
  bool ok;
  BytePair pair;
  int wrong_x;
};

// Encodes byte column left of a one-row sheet drawn as text. One row, so a
// read past its right edge leaves the pixel store.
Encoded EncodeRow(const std::string& row, int left, bool and_or) {
  common::Image image;
  testing_util::FillImage(static_cast<int>(row.size()), 1,
                          sprites_test::SheetPixels({row}), &image);
  Encoded e{false, {0x55, 0x55}, -1};
  e.ok = EncodeByteColumn(image, left, 0, and_or, &e.pair, &e.wrong_x);
  return e;
}

TEST(ByteColumn, MaskAndGraphicInBothModes) {
  struct Case {
    const char* pixels;
    uint8_t mask, graphic, and_or_mask, and_or_graphic;
  };
  const Case cases[] = {
      {"DEELLLEE", 0x39, 0x80, 0xC6, 0x1C},
      {"DEEEEEEE", 0x01, 0x80, 0xFE, 0x00},
      {"EEEEEEED", 0x80, 0x01, 0x7F, 0x00},
      {"EEEEEEEE", 0x00, 0x00, 0xFF, 0x00},
      {"DDDDDDDD", 0xFF, 0xFF, 0x00, 0x00},
      {"LLLLLLLL", 0xFF, 0x00, 0x00, 0xFF},
      {"LEEEEEEE", 0x01, 0x00, 0xFE, 0x80},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.pixels);
    Encoded plain = EncodeRow(c.pixels, 0, false);
    ASSERT_TRUE(plain.ok);
    EXPECT_EQ(plain.pair.mask, c.mask);
    EXPECT_EQ(plain.pair.graphic, c.graphic);
    Encoded and_or = EncodeRow(c.pixels, 0, true);
    ASSERT_TRUE(and_or.ok);
    EXPECT_EQ(and_or.pair.mask, c.and_or_mask);
    EXPECT_EQ(and_or.pair.graphic, c.and_or_graphic);
  }
}

TEST(ByteColumn, ReadsItsOwnEightPixels) {
  Encoded e = EncodeRow("YYYYYYYYDEELLLEEYYYY", 8, false);
  ASSERT_TRUE(e.ok);
  EXPECT_EQ(e.pair.mask, 0x39);
  EXPECT_EQ(e.pair.graphic, 0x80);
}

TEST(ByteColumn, PixelOfNoClassStopsAtItsColumn) {
  struct Case {
    const char* row;
    int left;
    int wrong_x;
  };
  const Case cases[] = {
      {"DYDEEEEE", 0, 1},  // never taken for its neighbours' class
      {"EEEEEEEY", 0, 7},
      {"EEEEEEEEEEEYEEYE", 8, 11},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.row);
    Encoded e = EncodeRow(c.row, c.left, false);
    EXPECT_FALSE(e.ok);
    EXPECT_EQ(e.wrong_x, c.wrong_x);
    EXPECT_EQ(e.pair.mask, 0x55);  // left alone
  }
}

TEST(ByteColumn, ColumnsPastTheRightEdgeAreEmptyAndNotRead) {
  Encoded e = EncodeRow("DDDDDL", 0, false);
  ASSERT_TRUE(e.ok);
  EXPECT_EQ(e.pair.mask, 0x3F);
  EXPECT_EQ(e.pair.graphic, 0xF8);
  e = EncodeRow("DDDDDL", 0, true);
  ASSERT_TRUE(e.ok);
  EXPECT_EQ(e.pair.mask, 0xC0);
  EXPECT_EQ(e.pair.graphic, 0x04);
}

}  // namespace
}  // namespace sprites
