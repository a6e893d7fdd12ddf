// The loader: which colour value every kind of PNG pixel reads back as,
// interlacing, transparency, damaged data, refused sizes and files that are
// not PNGs whatever their names.
#include "common/png_decoder.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "common/image_loader.h"
#include "testing/test_util.h"

namespace common {
namespace {

using testing_util::EncodePng;
using testing_util::PngLayout;
using testing_util::WithHeaderSize;

Status Decode(const std::string& bytes, Image* image) {
  return DecodePng(reinterpret_cast<const uint8_t*>(bytes.data()),
                   bytes.size(), image);
}

std::vector<Colour> AllPixels(const Image& image) {
  std::vector<Colour> pixels;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      pixels.push_back(image.PixelColour(x, y));
    }
  }
  return pixels;
}

// A palette of n distinct colours, entry 3 (when there is one) pure red.
std::vector<Colour> TestPalette(int n) {
  std::vector<Colour> palette;
  for (int i = 0; i < n; ++i) {
    palette.push_back(i == 3 ? 0x0000FF
                             : ColourFrom(i * 37 % 256, 255 - i, i * 11 % 256));
  }
  return palette;
}

PngLayout Layout(int colour_type, int bit_depth, int width,
             std::vector<uint16_t> samples) {
  PngLayout layout;
  layout.colour_type = colour_type;
  layout.bit_depth = bit_depth;
  layout.width = width;
  layout.height = 1;
  layout.samples = std::move(samples);
  if (colour_type == 3) layout.palette = TestPalette(1 << bit_depth);
  return layout;
}

int ChannelsOf(int colour_type) {
  const int kChannels[] = {1, 0, 3, 1, 2, 0, 4};
  return kChannels[colour_type];
}

// What the colour table says a pixel reads as, worked out from the samples.
Colour Expected(const PngLayout& layout, size_t pixel) {
  const uint16_t* s = &layout.samples[pixel * ChannelsOf(layout.colour_type)];
  auto eight_bits = [&](uint16_t v) -> int {
    switch (layout.bit_depth) {
      case 1: return v * 255;
      case 2: return v * 85;
      case 4: return v * 17;
      case 16: return v >> 8;
      default: return v;
    }
  };
  switch (layout.colour_type) {
    case 0:
    case 4: {
      int g = eight_bits(s[0]);
      return ColourFrom(g, g, g);
    }
    case 3:
      return layout.palette[s[0]];
    default:
      return ColourFrom(eight_bits(s[0]), eight_bits(s[1]), eight_bits(s[2]));
  }
}

// The examples that name exact values: each must read as written.
TEST(DecodePng, ColourTableExamples) {
  const uint16_t k = 0;
  const struct {
    const char* name;
    PngLayout layout;
    std::vector<Colour> colours;
  } kCases[] = {
      {"grey 1", Layout(0, 1, 4, {0, 1, 1, 0}), {0, 0xFFFFFF, 0xFFFFFF, 0}},
      {"grey 2", Layout(0, 2, 4, {0, 1, 2, 3}),
       {0, 0x555555, 0xAAAAAA, 0xFFFFFF}},
      {"grey 4", Layout(0, 4, 4, {0, 1, 7, 15}),
       {0, 0x111111, 0x777777, 0xFFFFFF}},
      {"grey 8", Layout(0, 8, 3, {1, 128, 255}), {0x010101, 0x808080, 0xFFFFFF}},
      {"grey 16 keeps the high byte", Layout(0, 16, 3, {0x01FF, 0xAB12, 0xFFFF}),
       {0x010101, 0xABABAB, 0xFFFFFF}},
      {"RGB 8", Layout(2, 8, 2, {10, 20, 30, 255, 0, 0}), {0x1E140A, 0x0000FF}},
      {"RGB 16 keeps the high bytes",
       Layout(2, 16, 2, {0x1234, 0xABCD, 0x00FF, 0x80FF, 0x7FFF, 0xFF00}),
       {0x00AB12, 0xFF7F80}},
      {"palette 1", Layout(3, 1, 2, {0, 1}), {TestPalette(2)[0], TestPalette(2)[1]}},
      {"palette 2, entry 3 red", Layout(3, 2, 2, {3, 0}), {0x0000FF, TestPalette(4)[0]}},
      {"palette 4, entry 3 red", Layout(3, 4, 2, {3, 15}), {0x0000FF, TestPalette(16)[15]}},
      {"palette 8, entry 3 red", Layout(3, 8, 2, {3, 255}), {0x0000FF, TestPalette(256)[255]}},
      {"grey alpha 8, alpha ignored", Layout(4, 8, 2, {77, k, 77, 255}),
       {0x4D4D4D, 0x4D4D4D}},
      {"grey alpha 16", Layout(4, 16, 2, {0xAB12, k, 0xAB12, 0xFFFF}),
       {0xABABAB, 0xABABAB}},
      {"RGB alpha 8, alpha 0 or 255", Layout(6, 8, 2, {10, 20, 30, k, 10, 20, 30, 255}),
       {0x1E140A, 0x1E140A}},
      {"RGB alpha 16",
       Layout(6, 16, 2, {0x1234, 0xABCD, 0x00FF, k, 0x1234, 0xABCD, 0x00FF, 0xFFFF}),
       {0x00AB12, 0x00AB12}},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.name);
    Image image;
    ASSERT_EQ(Decode(EncodePng(c.layout), &image), Status::kOk);
    EXPECT_EQ(image.width(), c.layout.width);
    EXPECT_EQ(image.height(), 1);
    EXPECT_EQ(AllPixels(image), c.colours);
  }
}

// A transparency chunk turns no colour into another: transparent pixels read
// as their stored colour.
TEST(DecodePng, TransparencyChunkChangesNoColour) {
  std::vector<PngLayout> layouts;
  PngLayout palette = Layout(3, 2, 4, {0, 1, 2, 3});
  palette.palette_alpha = {0, 128, 255};
  layouts.push_back(palette);
  PngLayout grey1 = Layout(0, 1, 2, {0, 1});
  grey1.has_trns_colour = true;
  grey1.trns_grey = 0;
  layouts.push_back(grey1);
  PngLayout grey2 = Layout(0, 2, 2, {2, 1});
  grey2.has_trns_colour = true;
  grey2.trns_grey = 2;
  layouts.push_back(grey2);
  PngLayout grey16 = Layout(0, 16, 2, {0xAB12, 0x0100});
  grey16.has_trns_colour = true;
  grey16.trns_grey = 0xAB12;
  layouts.push_back(grey16);
  PngLayout rgb = Layout(2, 8, 2, {0, 0, 0, 10, 20, 30});
  rgb.has_trns_colour = true;  // (0, 0, 0): black stays black
  layouts.push_back(rgb);
  PngLayout rgb16 = Layout(2, 16, 2, {0x1234, 0xABCD, 0x00FF, 0, 0, 0});
  rgb16.has_trns_colour = true;
  rgb16.trns_red = 0x1234;
  rgb16.trns_green = 0xABCD;
  rgb16.trns_blue = 0x00FF;
  layouts.push_back(rgb16);
  for (const PngLayout& layout : layouts) {
    SCOPED_TRACE("colour type " + std::to_string(layout.colour_type) +
                 ", depth " + std::to_string(layout.bit_depth));
    Image image;
    ASSERT_EQ(Decode(EncodePng(layout), &image), Status::kOk);
    for (int x = 0; x < layout.width; ++x) {
      EXPECT_EQ(image.PixelColour(x, 0), Expected(layout, x)) << "x " << x;
    }
  }
}

// Every colour type and bit depth, with and without transparency, read from
// a sheet of odd size whose pixels all differ from their neighbours: the
// interlaced file reads exactly like the plain one, and both as the table
// says.
TEST(DecodePng, EveryKindInterlacedOrNot) {
  const struct {
    int colour_type;
    int bit_depth;
  } kKinds[] = {{0, 1}, {0, 2}, {0, 4}, {0, 8}, {0, 16}, {2, 8},  {2, 16},
                {3, 1}, {3, 2}, {3, 4}, {3, 8}, {4, 8},  {4, 16}, {6, 8},
                {6, 16}};
  std::mt19937 random(2024);
  for (const auto& kind : kKinds) {
    for (bool trns : {false, true}) {
      if (trns && (kind.colour_type == 4 || kind.colour_type == 6)) continue;
      PngLayout layout;
      layout.colour_type = kind.colour_type;
      layout.bit_depth = kind.bit_depth;
      layout.width = 13;
      layout.height = 11;
      int top = (1 << kind.bit_depth) - 1;
      size_t n = 13 * 11 * static_cast<size_t>(ChannelsOf(kind.colour_type));
      for (size_t i = 0; i < n; ++i) {
        layout.samples.push_back(static_cast<uint16_t>(random() % (top + 1)));
      }
      if (kind.colour_type == 3) {
        layout.palette = TestPalette(1 << kind.bit_depth);
        if (trns) layout.palette_alpha = {0, 64};
      } else if (trns) {
        layout.has_trns_colour = true;
        layout.trns_grey = layout.samples[0];
        layout.trns_red = layout.samples[0];
        layout.trns_green = layout.samples[1 % n];
        layout.trns_blue = layout.samples[2 % n];
      }
      SCOPED_TRACE("colour type " + std::to_string(kind.colour_type) +
                   ", depth " + std::to_string(kind.bit_depth) +
                   (trns ? ", tRNS" : ""));
      std::vector<Colour> expected;
      for (size_t p = 0; p < 13 * 11; ++p) expected.push_back(Expected(layout, p));

      Image plain;
      ASSERT_EQ(Decode(EncodePng(layout), &plain), Status::kOk);
      EXPECT_EQ(AllPixels(plain), expected);
      layout.interlaced = true;
      Image interlaced;
      ASSERT_EQ(Decode(EncodePng(layout), &interlaced), Status::kOk);
      EXPECT_EQ(interlaced.width(), 13);
      EXPECT_EQ(interlaced.height(), 11);
      EXPECT_EQ(AllPixels(interlaced), expected);
    }
  }
}

// A 64 x 64 RGB sheet of noise, so that its image data cannot shrink much
// and a cut in the middle of the file falls in the middle of the rows.
PngLayout NoiseSheet(bool interlaced) {
  PngLayout layout;
  layout.width = 64;
  layout.height = 64;
  layout.interlaced = interlaced;
  std::mt19937 random(7);
  for (int i = 0; i < 64 * 64 * 3; ++i) {
    layout.samples.push_back(static_cast<uint16_t>(1 + random() % 255));
  }
  return layout;
}

// Wherever the file is cut after its header, the load reports damage; the
// rows whose data lies before the cut keep their colours and every later
// pixel reads 0; the further the cut, the more rows are kept.
TEST(DecodePng, CutInTheImageDataKeepsTheRowsBeforeTheCut) {
  PngLayout layout = NoiseSheet(false);
  std::string whole = EncodePng(layout);
  std::vector<Colour> original;
  for (size_t p = 0; p < 64 * 64; ++p) original.push_back(Expected(layout, p));

  int rows_before = 0;
  // Every 97th byte, and each of the last 24 bytes: the image data's own
  // checksum, the chunk's checksum and the end chunk.
  std::vector<size_t> cuts;
  for (size_t cut = 60; cut < whole.size() - 24; cut += 97) cuts.push_back(cut);
  for (size_t cut = whole.size() - 24; cut < whole.size(); ++cut) {
    cuts.push_back(cut);
  }
  for (size_t cut : cuts) {
    SCOPED_TRACE("cut at " + std::to_string(cut) + " of " +
                 std::to_string(whole.size()));
    Image image;
    ASSERT_EQ(Decode(whole.substr(0, cut), &image), Status::kDamagedData);
    ASSERT_EQ(image.width(), 64);
    ASSERT_EQ(image.height(), 64);
    std::vector<Colour> read = AllPixels(image);
    int good_rows = 0;
    while (good_rows < 64 &&
           std::equal(read.begin() + good_rows * 64,
                      read.begin() + good_rows * 64 + 64,
                      original.begin() + good_rows * 64)) {
      ++good_rows;
    }
    for (size_t p = good_rows * 64; p < read.size(); ++p) {
      ASSERT_EQ(read[p], 0u) << "pixel " << p;
    }
    EXPECT_GE(good_rows, rows_before);
    rows_before = good_rows;
    if (cut > whole.size() / 2 && cut < whole.size() / 2 + 97) {
      EXPECT_GT(good_rows, 20);
      EXPECT_LT(good_rows, 44);
    }
  }
  EXPECT_EQ(rows_before, 64);
}

// Offset of the checksum of the first image data chunk.
size_t FirstImageDataChecksum(const std::string& png) {
  size_t at = 8;
  while (at + 8 <= png.size()) {
    size_t length = static_cast<uint8_t>(png[at]) << 24 |
                    static_cast<uint8_t>(png[at + 1]) << 16 |
                    static_cast<uint8_t>(png[at + 2]) << 8 |
                    static_cast<uint8_t>(png[at + 3]);
    if (png.compare(at + 4, 4, "IDAT") == 0) return at + 8 + length;
    at += 12 + length;
  }
  return std::string::npos;
}

TEST(DecodePng, DamagedImageDataReadsBlackAfterTheDamage) {
  const struct {
    const char* name;
    bool interlaced;
    bool bad_checksum;  // instead of a cut in the middle of the file
  } kCases[] = {{"interlaced, cut", true, false},
                {"plain, checksum", false, true},
                {"interlaced, checksum", true, true}};
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.name);
    PngLayout layout = NoiseSheet(c.interlaced);
    std::string bytes = EncodePng(layout);
    if (c.bad_checksum) {
      size_t checksum = FirstImageDataChecksum(bytes);
      ASSERT_LT(checksum + 12, bytes.size()) << "needs a second data chunk";
      bytes[checksum] ^= 0x55;
    } else {
      bytes.resize(bytes.size() / 2);
    }
    Image image;
    ASSERT_EQ(Decode(bytes, &image), Status::kDamagedData);
    ASSERT_EQ(image.width(), 64);
    ASSERT_EQ(image.height(), 64);
    int kept = 0, black = 0;
    for (int p = 0; p < 64 * 64; ++p) {
      Colour read = image.PixelColour(p % 64, p / 64);
      if (read == 0) {
        ++black;
      } else {
        ASSERT_EQ(read, Expected(layout, p)) << "pixel " << p;
        ++kept;
      }
    }
    EXPECT_GT(kept, 64 * 64 / 4);
    EXPECT_GT(black, 64 * 64 / 4);
  }
}

// A changed byte inside the image data is only found at the chunk's end, so
// the rows decoded from it before then may hold wrong colours; the load still
// reports the damage and keeps the header's size.
TEST(DecodePng, ChangedImageDataIsReportedAsDamage) {
  std::string bytes = EncodePng(NoiseSheet(false));
  bytes[FirstImageDataChecksum(bytes) - 100] ^= 0x55;
  Image image;
  EXPECT_EQ(Decode(bytes, &image), Status::kDamagedData);
  EXPECT_EQ(image.width(), 64);
  EXPECT_EQ(image.height(), 64);
}

// Nothing but an empty image comes of a file that is no PNG, has a broken
// header, or claims a size that cannot or should not be held.
TEST(DecodePng, RefusedFiles) {
  std::string good = EncodePng(Layout(2, 8, 1, {1, 2, 3}));
  std::string bad_header_checksum = good;
  bad_header_checksum[30] ^= 1;
  PngLayout wide;
  wide.colour_type = 0;
  wide.bit_depth = 1;
  wide.width = 32768;
  wide.height = 1;
  wide.samples.assign(32768, 1);
  PngLayout high = wide;
  high.width = 1;
  high.height = 32768;
  PngLayout small = Layout(6, 16, 2, {1, 2, 3, 4, 5, 6, 7, 8});
  const struct {
    const char* name;
    std::string bytes;
  } kCases[] = {
      {"empty", ""},
      {"shorter than the signature", good.substr(0, 7)},
      {"signature only", good.substr(0, 8)},
      {"cut in the header", good.substr(0, 20)},
      {"text", "just some text, not an image at all\n"},
      {"bad header checksum", bad_header_checksum},
      {"wider than 32767", EncodePng(wide)},
      {"higher than 32767", EncodePng(high)},
      // No store of 8 GiB is attempted for a file of a few dozen bytes.
      {"absurd header", WithHeaderSize(EncodePng(small), 32767, 32767)},
      {"beyond 31 bits", WithHeaderSize(EncodePng(small), 0x7FFFFFFF, 1)},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.name);
    Image image;
    EXPECT_EQ(Decode(c.bytes, &image), Status::kLoadFailed);
    EXPECT_EQ(image.width(), 0);
    EXPECT_EQ(image.height(), 0);
    EXPECT_FALSE(image.loaded());
    EXPECT_FALSE(image.BeginPixelReading());
  }

  wide.width = 32767;
  wide.samples.resize(32767);
  Image image;
  ASSERT_EQ(Decode(EncodePng(wide), &image), Status::kOk);
  EXPECT_EQ(image.width(), 32767);
  EXPECT_EQ(image.PixelColour(32766, 0), 0xFFFFFFu);
}

// The format is known by the content, never by the name.
TEST(LoadImage, ByContentNotByName) {
  testing_util::TempDir dir;
  std::string png = EncodePng(Layout(2, 8, 2, {255, 0, 0, 0, 0, 255}));
  testing_util::WriteFile(dir.File("sheet.bin"), png);
  testing_util::WriteFile(dir.File("sheet.png"), "not a picture\r\n");
  testing_util::WriteFile(dir.File("empty.png"), "");

  Image image;
  ASSERT_EQ(LoadImage(dir.File("sheet.bin"), &image), Status::kOk);
  EXPECT_EQ(AllPixels(image), (std::vector<Colour>{0x0000FF, 0xFF0000}));
  EXPECT_TRUE(image.BeginPixelReading());

  for (const std::string& path :
       {dir.File("sheet.png"), dir.File("empty.png"), dir.File("missing.png"),
        dir.path()}) {
    SCOPED_TRACE(path);
    Image failed;
    EXPECT_EQ(LoadImage(path, &failed), Status::kLoadFailed);
    EXPECT_EQ(failed.width(), 0);
    EXPECT_EQ(failed.height(), 0);
    EXPECT_FALSE(failed.BeginPixelReading());
  }
}

TEST(ColourValue, TakenApartAndBuilt) {
  EXPECT_EQ(GreenOf(0xFF0000), 0);
  EXPECT_EQ(BlueOf(0xFF0000), 255);
  EXPECT_EQ(RedOf(0xFF0000), 0);
  EXPECT_EQ(RedOf(0x00AB12), 0x12);
  EXPECT_EQ(GreenOf(0x00AB12), 0xAB);
  EXPECT_EQ(ColourFrom(128, 255, 0), 0x00FF80u);
}

}  // namespace
}  // namespace common
