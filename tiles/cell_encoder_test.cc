// One character cell: its colours in order of first appearance, which of two
// colours is set and which is clear, its pixel bytes and attribute byte, and
// where they land in the cell tables.
#include "tiles/cell_encoder.h"

#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <vector>

namespace tiles {
namespace {

constexpr Colour kBlack = 0x000000;
constexpr Colour kWhite = 0xFFFFFF;
constexpr Colour kRed = 0x0000FF;
constexpr Colour kGreen = 0x00FF00;
constexpr Colour kBlue = 0xFF0000;
constexpr Colour kYellow = 0x00FFFF;

struct Cell {
  CellPixels pixels;
};

Cell MakeCell(const std::function<Colour(int r, int c)>& colour_at) {
  Cell cell;
  for (int r = 0; r < 8; ++r) {
    for (int c = 0; c < 8; ++c) cell.pixels[r * 8 + c] = colour_at(r, c);
  }
  return cell;
}

Cell Uniform(Colour colour) {
  return MakeCell([=](int, int) { return colour; });
}

// Encodes the cell alone in a one-cell table.
struct Encoded {
  std::array<uint8_t, 8> bytes;
  uint8_t attribute;
};
// With compare_pixels, a single-colour cell is encoded pixel by pixel, as if
// the analysis had not marked it.
Encoded Encode(const Cell& cell, bool compare_pixels = false) {
  CellColours colours;
  ColourPair pair;
  EXPECT_TRUE(AnalyseCell(cell.pixels, &colours, &pair));
  if (compare_pixels) pair.single = false;
  CellTables tables(1, 1);
  EncodeCell(0, 0, cell.pixels, pair, &tables);
  Encoded encoded;
  for (int r = 0; r < 8; ++r) encoded.bytes[r] = tables.PixelByte(0, r);
  encoded.attribute = tables.Attribute(0, 0);
  return encoded;
}

std::array<uint8_t, 8> Bytes(uint8_t first, uint8_t rest) {
  std::array<uint8_t, 8> bytes;
  bytes.fill(rest);
  bytes[0] = first;
  return bytes;
}

TEST(EncodeCell, SingleColourCells) {
  const struct {
    Colour colour;
    uint8_t pixel_byte;
    uint8_t attribute;
  } kCases[] = {
      {kBlack, 0xFF, 0x00},    {kWhite, 0x00, 0x78},
      {kRed, 0x00, 0x50},      {kGreen, 0x00, 0x60},
      {kBlue, 0x00, 0x48},     {kYellow, 0x00, 0x70},
      {0xFFFF00, 0x00, 0x68},  {0xFF00FF, 0x00, 0x58},
      {0x808080, 0x00, 0x38},  {0xBFBFBF, 0x00, 0x38},
      {0xC0C0C0, 0x00, 0x78},  {0x7F7F7F, 0x00, 0x00},
  };
  for (const auto& c : kCases) {
    for (bool compare_pixels : {false, true}) {
      Encoded encoded = Encode(Uniform(c.colour), compare_pixels);
      EXPECT_EQ(encoded.bytes, Bytes(c.pixel_byte, c.pixel_byte))
          << std::hex << c.colour << " " << compare_pixels;
      EXPECT_EQ(encoded.attribute, c.attribute) << std::hex << c.colour;
    }
  }
}

TEST(EncodeCell, TwoColourCells) {
  const Colour kGrey100 = 0x646464;
  const struct {
    const char* name;
    Cell cell;
    std::array<uint8_t, 8> bytes;
    uint8_t attribute;
  } kCases[] = {
      {"black, top-left white",
       MakeCell([](int r, int c) { return r + c == 0 ? kWhite : kBlack; }),
       Bytes(0x7F, 0xFF), 0x78},
      {"white, top-left black",
       MakeCell([](int r, int c) { return r + c == 0 ? kBlack : kWhite; }),
       Bytes(0x80, 0x00), 0x78},
      {"white met first, then yellow",
       MakeCell([](int r, int) { return r < 4 ? kWhite : kYellow; }),
       {0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0}, 0x77},
      {"yellow met first, then white",
       MakeCell([](int r, int) { return r < 4 ? kYellow : kWhite; }),
       {0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0}, 0x7E},
      {"red, then blue",
       MakeCell([](int, int c) { return c < 2 ? kRed : kBlue; }),
       Bytes(0xC0, 0xC0), 0x4A},
      {"blue, then red",
       MakeCell([](int, int c) { return c < 2 ? kBlue : kRed; }),
       Bytes(0x3F, 0x3F), 0x4A},
      {"black, then grey 100",
       MakeCell([](int, int c) { return c % 2 ? kGrey100 : kBlack; }),
       Bytes(0xAA, 0xAA), 0x00},
      {"grey 100, then black",
       MakeCell([](int, int c) { return c % 2 ? kBlack : kGrey100; }),
       Bytes(0x55, 0x55), 0x00},
      {"green, then white: both green, the second is clear",
       MakeCell([](int r, int) { return r == 0 ? kGreen : kWhite; }),
       Bytes(0xFF, 0x00), 0x7C},
      {"white, then green",
       MakeCell([](int r, int) { return r == 0 ? kWhite : kGreen; }),
       Bytes(0xFF, 0x00), 0x67},
      {"one bright component brightens the cell",
       MakeCell([](int r, int) { return r == 7 ? 0x00C000 : kBlack; }),
       {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00}, 0x60},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.name);
    Encoded encoded = Encode(c.cell);
    EXPECT_EQ(encoded.bytes, c.bytes);
    EXPECT_EQ(encoded.attribute, c.attribute);
  }
}

TEST(EncodeCell, ThresholdsAreStrict) {
  // 128 sets a colour bit and 127 does not; 192 sets the bright bit and 191
  // does not. Each component alone, as the clear colour of a single cell.
  const struct {
    int component;  // 0 red, 1 green, 2 blue
    int value;
    uint8_t attribute;
  } kCases[] = {{0, 127, 0x00}, {0, 128, 0x10}, {0, 191, 0x10}, {0, 192, 0x50},
                {1, 127, 0x00}, {1, 128, 0x20}, {1, 192, 0x60}, {2, 127, 0x00},
                {2, 128, 0x08}, {2, 191, 0x08}, {2, 192, 0x48}};
  for (const auto& c : kCases) {
    Colour colour = static_cast<Colour>(c.value) << (8 * c.component);
    EXPECT_EQ(Encode(Uniform(colour)).attribute, c.attribute)
        << "component " << c.component << " = " << c.value;
  }
}

TEST(EncodeCell, FillsOnlyItsOwnPlaceInTheTables) {
  Cell cell = MakeCell([](int r, int c) { return c == r ? kBlack : kWhite; });
  CellColours colours;
  ColourPair pair;
  ASSERT_TRUE(AnalyseCell(cell.pixels, &colours, &pair));
  CellTables tables(3, 4);
  EncodeCell(1, 2, cell.pixels, pair, &tables);
  for (int cy = 0; cy < 4; ++cy) {
    for (int cx = 0; cx < 3; ++cx) {
      bool own = cx == 1 && cy == 2;
      EXPECT_EQ(tables.Attribute(cx, cy), own ? 0x78 : 0x00);
      for (int r = 0; r < 8; ++r) {
        EXPECT_EQ(tables.PixelByte(cx, 8 * cy + r), own ? 0x80 >> r : 0x00)
            << cx << "," << cy << " row " << r;
      }
    }
  }
}

TEST(AnalyseCell, ColourPairs) {
  const struct {
    const char* name;
    Cell cell;
    Colour first, second;
    int n;
  } kCases[] = {
      {"single black", Uniform(kBlack), kBlack, 0, 1},
      {"single white: second colour 0", Uniform(kWhite), kWhite, 0, 1},
      {"white top-left, then black",
       MakeCell([](int r, int c) { return r + c == 0 ? kWhite : kBlack; }),
       kWhite, kBlack, 2},
      {"black top-left, then white",
       MakeCell([](int r, int c) { return r + c < 3 ? kBlack : kWhite; }),
       kBlack, kWhite, 2},
      {"black and nearly black are two colours",
       MakeCell([](int r, int) { return r == 5 ? 0x000001 : kBlack; }), kBlack,
       0x000001, 2},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.name);
    CellColours colours;
    ColourPair pair;
    ASSERT_TRUE(AnalyseCell(c.cell.pixels, &colours, &pair));
    EXPECT_EQ(pair.first, c.first);
    EXPECT_EQ(pair.second, c.second);
    EXPECT_EQ(pair.single, c.n == 1);
    EXPECT_EQ(colours.n, c.n);
  }
}

// More than two colours: the list holds every colour of the cell in order of
// first appearance, with counts that add up to 64, however many there are.
TEST(AnalyseCell, MoreThanTwoColoursListsEveryColour) {
  const struct {
    const char* name;
    Cell cell;
    std::vector<Colour> colours;
    std::vector<int> counts;
  } kCases[] = {
      {"three near-identical shades",
       MakeCell([](int r, int c) {
         return r == 7 && c == 7 ? 0x010000 : r == 0 ? 0x000001 : kBlack;
       }),
       {0x000001, kBlack, 0x010000}, {8, 55, 1}},
      {"ten colours",
       MakeCell([](int r, int c) { return r * 8 + c < 10 ? r * 8 + c : 3; }),
       {0, 1, 2, 3, 4, 5, 6, 7, 8, 9}, {1, 1, 1, 55, 1, 1, 1, 1, 1, 1}},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.name);
    CellColours colours;
    ColourPair pair;
    ASSERT_FALSE(AnalyseCell(c.cell.pixels, &colours, &pair));
    ASSERT_EQ(colours.n, static_cast<int>(c.colours.size()));
    for (int k = 0; k < colours.n; ++k) {
      EXPECT_EQ(colours.entries[k].colour, c.colours[k]) << k;
      EXPECT_EQ(colours.entries[k].count, c.counts[k]) << k;
    }
  }

  Cell all_different = MakeCell([](int r, int c) { return 0x10000 * (r * 8 + c); });
  CellColours colours;
  ColourPair pair;
  ASSERT_FALSE(AnalyseCell(all_different.pixels, &colours, &pair));
  ASSERT_EQ(colours.n, 64);
  int total = 0;
  for (int k = 0; k < 64; ++k) {
    EXPECT_EQ(colours.entries[k].colour, 0x10000u * k);
    total += colours.entries[k].count;
  }
  EXPECT_EQ(total, 64);
}

}  // namespace
}  // namespace tiles
