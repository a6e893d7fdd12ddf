// The tile converter end to end: the built cellhew on PNG sheets.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "common/text_format.h"
#include "testing/test_util.h"

namespace {

using testing_util::BodyLines;
using testing_util::Colour;
using testing_util::CrLfLines;
using testing_util::IsCreationLine;
using testing_util::ReadFile;
using testing_util::RgbPng;
using testing_util::RunProcess;
using testing_util::TempDir;
using testing_util::WriteFile;

constexpr Colour kBlack = 0x000000;
constexpr Colour kWhite = 0xFFFFFF;
constexpr Colour kRed = 0x0000FF;
constexpr Colour kGreen = 0x00FF00;
constexpr Colour kBlue = 0xFF0000;

// The one-tile sheet whose four cells show the ordering rules.
std::vector<Colour> WorkedExampleSheet() {
  std::vector<Colour> p(16 * 16);
  for (int y = 0; y < 16; ++y) {
    for (int x = 0; x < 16; ++x) {
      Colour c;
      if (y < 8 && x < 8) {
        c = x == y ? kWhite : kBlack;
      } else if (y < 8) {
        c = kRed;
      } else if (x < 8) {
        c = y < 12 ? kBlue : kBlack;
      } else {
        c = x < 12 ? kBlack : kGreen;
      }
      p[y * 16 + x] = c;
    }
  }
  return p;
}

TEST(Cellhew, WorkedExampleByteForByte) {
  TempDir dir;
  std::string sheet = dir.File("example.png");
  WriteFile(sheet, RgbPng(16, 16, WorkedExampleSheet()));
  testing_util::ProcessResult run = RunProcess(CELLHEW_PATH, {sheet});
  EXPECT_EQ(run.exit_status, 0);
  EXPECT_EQ(run.out, "Loading file " + sheet + "\n");
  std::vector<std::string> lines = CrLfLines(ReadFile(sheet + ".inc"));
  ASSERT_EQ(lines.size(), 5u);
  EXPECT_EQ(lines[0], ";tileset: example");
  EXPECT_TRUE(IsCreationLine(lines[1])) << lines[1];
  EXPECT_EQ(lines[2],
            "\tdb\t#7F,#00,#BF,#00,#DF,#00,#EF,#00,#F7,#00,#FB,#00,#FD,#00,"
            "#FE,#00");
  EXPECT_EQ(lines[3],
            "\tdb\t#FF,#F0,#FF,#F0,#FF,#F0,#FF,#F0,#00,#F0,#00,#F0,#00,#F0,"
            "#00,#F0");
  EXPECT_EQ(lines[4], "\tdb\t#48,#60,#78,#50");
}

TEST(Cellhew, TwoTileRowsReadTheirOwnPixelRows) {
  std::vector<Colour> p(16 * 32, kBlack);
  for (int k = 0; k < 16; ++k) p[(16 + k) * 16 + k] = kWhite;
  TempDir dir;
  std::string sheet = dir.File("tall.png");
  WriteFile(sheet, RgbPng(16, 32, p));
  testing_util::ProcessResult run = RunProcess(CELLHEW_PATH, {sheet, "/HIGH"});
  EXPECT_EQ(run.exit_status, 0);
  std::vector<std::string> body = BodyLines(ReadFile(sheet + ".inc"));
  ASSERT_EQ(body.size(), 6u);
  std::string black_half = "\tdb\t#FF";
  for (int i = 1; i < 16; ++i) black_half += ",#FF";
  EXPECT_EQ(body[0], black_half);
  EXPECT_EQ(body[1], black_half);
  EXPECT_EQ(body[2], "\tdb\t#00,#00,#00,#00");
  EXPECT_EQ(body[3],
            "\tdb\t#7F,#FF,#BF,#FF,#DF,#FF,#EF,#FF,#F7,#FF,#FB,#FF,#FD,#FF,"
            "#FE,#FF");
  EXPECT_EQ(body[4],
            "\tdb\t#FF,#FE,#FF,#FD,#FF,#FB,#FF,#F7,#FF,#EF,#FF,#DF,#FF,#BF,"
            "#FF,#7F");
  EXPECT_EQ(body[5], "\tdb\t#00,#78,#78,#00");
}

TEST(Cellhew, ColourErrorReport) {
  // Cell row 2, cell column 5: black 28, white 30, red 6, met in that order.
  std::vector<Colour> p(48 * 24, kBlack);
  for (int i = 28; i < 64; ++i) {
    int x = 40 + i % 8, y = 16 + i / 8;
    p[y * 48 + x] = i < 58 ? kWhite : kRed;
  }
  TempDir dir;
  std::string sheet = dir.File("bad.png");
  WriteFile(sheet, RgbPng(48, 24, p));
  testing_util::ProcessResult run = RunProcess(CELLHEW_PATH, {sheet}, "\n");
  EXPECT_EQ(run.exit_status, 1);
  EXPECT_EQ(run.out,
            "Loading file " + sheet +
                "\n"
                "Detected more then 2 colors per char at: 2,5\n"
                "colors 3\n"
                "0 0 28\n"
                "1 FFFFFF 30\n"
                "2 FF 6\n");
  std::vector<std::string> lines = CrLfLines(ReadFile(sheet + ".inc"));
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0], ";tileset: bad");
  EXPECT_TRUE(IsCreationLine(lines[1]));
}

// A sheet of single-colour cells (colour_of(cx, cy)) converted by cellhew.
struct Converted {
  int exit_status;
  std::string out;                 // console lines after "Loading file"
  std::vector<std::string> body;   // output lines after the header
};
Converted Convert(int width, int height, const std::vector<Colour>& pixels,
                  const std::vector<std::string>& flags = {}) {
  TempDir dir;
  std::string sheet = dir.File("sheet.png");
  WriteFile(sheet, RgbPng(width, height, pixels));
  std::vector<std::string> args = {sheet};
  args.insert(args.end(), flags.begin(), flags.end());
  testing_util::ProcessResult run = RunProcess(CELLHEW_PATH, args, "\n");
  std::string loading = "Loading file " + sheet + "\n";
  EXPECT_EQ(run.out.compare(0, loading.size(), loading), 0) << run.out;
  std::string text = ReadFile(sheet + ".inc");
  EXPECT_EQ(CrLfLines(text).at(0), ";tileset: sheet");
  return {run.exit_status, run.out.substr(std::min(loading.size(), run.out.size())),
          BodyLines(text)};
}

std::vector<Colour> Cells(int width, int height,
                          Colour (*colour_of)(int cx, int cy)) {
  std::vector<Colour> p(static_cast<size_t>(width) * height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) p[y * width + x] = colour_of(x / 8, y / 8);
  }
  return p;
}

// Spoils cell (cx, cy) with a third colour in its last pixel after a second
// one in its first.
void SpoilCell(int width, int cx, int cy, std::vector<Colour>* p) {
  (*p)[(8 * cy) * width + 8 * cx] ^= 0x010101;
  (*p)[(8 * cy + 7) * width + 8 * cx + 7] ^= 0x020202;
}

TEST(Cellhew, SheetsWithoutAWholeTileWriteOnlyTheHeader) {
  const struct {
    int width, height;
  } kSizes[] = {{8, 8}, {15, 16}, {16, 15}, {7, 40}, {40, 7}, {8, 32}};
  for (const auto& size : kSizes) {
    SCOPED_TRACE(std::to_string(size.width) + " x " + std::to_string(size.height));
    std::vector<Colour> p(size.width * size.height, kWhite);
    Converted run = Convert(size.width, size.height, p);
    EXPECT_EQ(run.exit_status, 0);
    EXPECT_EQ(run.out, "");
    EXPECT_TRUE(run.body.empty());
  }
}

// 40 x 24: 5 x 3 cells, 2 x 1 tiles. Cell column 4 and cell row 2 are never
// written, and what they hold changes nothing; pixels beyond the last whole
// cell are never even read.
TEST(Cellhew, CellsOutsideTheTilesAreAnalysedButNotWritten) {
  auto colour_of = [](int cx, int cy) -> Colour {
    return cx >= 4 || cy >= 2 ? kGreen : (cx + cy) % 2 ? kWhite : kBlue;
  };
  std::vector<Colour> sheet = Cells(40, 24, colour_of);
  Converted run = Convert(40, 24, sheet);
  EXPECT_EQ(run.exit_status, 0);
  ASSERT_EQ(run.body.size(), 6u);
  EXPECT_EQ(run.body[2], "\tdb\t#78,#48,#48,#78");
  EXPECT_EQ(run.body[5], "\tdb\t#78,#48,#48,#78");
  EXPECT_EQ(Convert(32, 16, Cells(32, 16, colour_of)).body, run.body);

  // 45 x 28: the extra pixel columns and rows hold many colours.
  std::vector<Colour> ragged = Cells(45, 28, colour_of);
  for (int y = 0; y < 28; ++y) {
    for (int x = 0; x < 45; ++x) {
      if (x >= 40 || y >= 24) ragged[y * 45 + x] = x * 7 + y * 131;
    }
  }
  EXPECT_EQ(Convert(45, 28, ragged).body, run.body);

  // A spoiled cell in the unwritten column or row still stops the run.
  for (auto [cx, cy] : {std::pair{4, 0}, std::pair{0, 2}}) {
    std::vector<Colour> spoiled = sheet;
    SpoilCell(40, cx, cy, &spoiled);
    Converted stopped = Convert(40, 24, spoiled);
    EXPECT_EQ(stopped.exit_status, 1);
    EXPECT_EQ(stopped.out.substr(0, stopped.out.find('\n')),
              "Detected more then 2 colors per char at: " +
                  std::to_string(cy) + "," + std::to_string(cx));
    EXPECT_TRUE(stopped.body.empty());
  }
}

TEST(Cellhew, TilesAreWrittenRowByRowFromTheLeft) {
  // 32 x 32: four tiles, each one colour.
  auto colour_of = [](int cx, int cy) -> Colour {
    const Colour kTileColours[] = {kRed, kGreen, kBlue, kWhite};
    return kTileColours[(cy / 2) * 2 + cx / 2];
  };
  Converted run = Convert(32, 32, Cells(32, 32, colour_of));
  EXPECT_EQ(run.exit_status, 0);
  ASSERT_EQ(run.body.size(), 12u);
  EXPECT_EQ(run.body[2], "\tdb\t#50,#50,#50,#50");
  EXPECT_EQ(run.body[5], "\tdb\t#60,#60,#60,#60");
  EXPECT_EQ(run.body[8], "\tdb\t#48,#48,#48,#48");
  EXPECT_EQ(run.body[11], "\tdb\t#78,#78,#78,#78");
  std::string zeros = "\tdb\t#00";
  for (int i = 1; i < 16; ++i) zeros += ",#00";
  for (int line : {0, 1, 3, 4, 6, 7, 9, 10}) EXPECT_EQ(run.body[line], zeros);
}

TEST(Cellhew, FirstOffendingCellInPassOrderIsReported) {
  const struct {
    std::pair<int, int> first, second;  // (cx, cy) of two spoiled cells
    const char* reported;
  } kCases[] = {
      {{1, 1}, {4, 0}, "0,4"},  // the upper row wins, though further right
      {{3, 1}, {1, 1}, "1,1"},  // within a row, the left one
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.reported);
    std::vector<Colour> p(48 * 16, kBlack);
    SpoilCell(48, c.first.first, c.first.second, &p);
    SpoilCell(48, c.second.first, c.second.second, &p);
    Converted run = Convert(48, 16, p);
    EXPECT_EQ(run.exit_status, 1);
    EXPECT_EQ(run.out, std::string("Detected more then 2 colors per char at: ") +
                           c.reported +
                           "\n"
                           "colors 3\n"
                           "0 10101 1\n"
                           "1 0 62\n"
                           "2 20202 1\n");
    EXPECT_TRUE(run.body.empty());
  }
}

// The list grows with the cell: a cell of 64 colours is reported whole.
TEST(Cellhew, ReportOfACellOfManyColoursListsThemAll) {
  std::vector<Colour> p(16 * 16, kBlack);
  for (int i = 0; i < 64; ++i) p[(8 + i / 8) * 16 + 8 + i % 8] = 0x10000 * i;
  Converted run = Convert(16, 16, p);
  EXPECT_EQ(run.exit_status, 1);
  std::string expected = "Detected more then 2 colors per char at: 1,1\ncolors 64\n";
  for (int i = 0; i < 64; ++i) {
    expected += std::to_string(i) + " " + common::Hexadecimal(0x10000 * i) + " 1\n";
  }
  EXPECT_EQ(run.out, expected);
}

TEST(Cellhew, FlagsAreAcceptedAndIgnored) {
  std::vector<Colour> sheet = WorkedExampleSheet();
  Converted plain = Convert(16, 16, sheet);
  Converted flagged = Convert(
      16, 16, sheet, {"/HIGH", "/length", "/CutUp", "/CUTRIGHT", "/andor", "/HIGH"});
  EXPECT_EQ(flagged.exit_status, 0);
  EXPECT_EQ(flagged.out, "");
  EXPECT_EQ(flagged.body, plain.body);
  ASSERT_EQ(plain.body.size(), 3u);
}

TEST(Cellhew, MissingSheetWritesTheHeaderOnly) {
  TempDir dir;
  std::string sheet = dir.File("missing.png");
  testing_util::ProcessResult run = RunProcess(CELLHEW_PATH, {sheet});
  EXPECT_EQ(run.exit_status, 1);
  EXPECT_EQ(run.out, "Loading file " + sheet + "\nImage could not be loaded: " +
                         sheet + "\n");
  std::vector<std::string> lines = CrLfLines(ReadFile(sheet + ".inc"));
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0], ";tileset: missing");
  EXPECT_TRUE(IsCreationLine(lines[1]));
}

}  // namespace
