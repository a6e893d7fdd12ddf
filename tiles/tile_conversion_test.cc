// The tile converter end to end: the built cellhew on PNG sheets.
#include <gtest/gtest.h>

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

}  // namespace
