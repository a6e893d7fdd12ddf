// Files from anywhere and file systems that refuse: both programs, run as
// processes, end every such run with their console line, exit status 1 and
// an output file holding what they wrote before the fault. The loader and
// both converters take every cut and many flipped bits of a sheet.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <functional>
#include <random>
#include <string>
#include <vector>

#include "common/output_file.h"
#include "common/png_decoder.h"
#include "common/run.h"
#include "sprites/sprite_conversion.h"
#include "testing/test_util.h"
#include "tiles/tile_conversion.h"

namespace common {
namespace {

using testing_util::CrLfLines;
using testing_util::EncodePng;
using testing_util::FileExists;
using testing_util::IsCreationLine;
using testing_util::PngLayout;
using testing_util::ReadFile;
using testing_util::RgbPng;
using testing_util::RunningProcess;
using testing_util::RunProcess;
using testing_util::TempDir;
using testing_util::WithHeaderSize;
using testing_util::WriteFile;

struct ProgramUnderTest {
  const char* path;
  const char* extension;
  const char* header;
  const char* sheet_line;  // after "Loading file" for the 16 x 16 sheet
};

const ProgramUnderTest kPrograms[] = {
    {CELLHEW_PATH, ".inc", ";tileset: ", nullptr},
    {GLYPHWRIGHT_PATH, ".a80", ";spriteset: ", "16x16"},
};

// White: one colour a cell for the tiles, light pixels for the sprites.
std::string WhiteSheet(int width, int height) {
  return RgbPng(width, height,
                std::vector<Colour>(static_cast<size_t>(width) * height,
                                    0xFFFFFF));
}

std::string OneBitGrey(int width, int height) {
  PngLayout layout;
  layout.colour_type = 0;
  layout.bit_depth = 1;
  layout.width = width;
  layout.height = height;
  layout.samples.assign(static_cast<size_t>(width) * height, 1);
  return EncodePng(layout);
}

enum class Kept {
  kHeaderOnly,  // the two header lines and nothing else
  kNoFile,      // nothing at the output path
  kDirectory,   // the folder in the way is left alone
  kLink,        // the link to the full device is left alone
};

// One hostile run: what sits at the input (and output) path, and what the
// user sees after "Loading file " and the path.
struct Case {
  const char* name;
  std::function<void(const std::string& input, const std::string& output)>
      arrange;
  // "%in" and "%out" stand for the paths, "%sheet" for the program's
  // console line for the 16 x 16 white sheet, if it has one.
  std::vector<std::string> lines;
  Kept kept;
};

TEST(HostileRun, EachEndsWithItsLineAndStatusOne) {
  const std::string kNotLoaded = "Image could not be loaded: %in";
  const std::string kNotCreated = "Output file could not be created: %out";
  const std::string kNotWritten =
      "Output file could not be written completely: %out";
  const std::string kSheetLine = "%sheet";
  const std::vector<Case> kCases = {
      {"a hundred bytes claiming 32767 x 32767",
       [](const std::string& in, const std::string&) {
         std::string png = WithHeaderSize(WhiteSheet(2, 2), 32767, 32767);
         ASSERT_LT(png.size(), 120u);
         WriteFile(in, png);
       },
       {kNotLoaded},
       Kept::kHeaderOnly},
      {"wider than 32767",
       [](const std::string& in, const std::string&) {
         WriteFile(in, OneBitGrey(32768, 1));
       },
       {kNotLoaded},
       Kept::kHeaderOnly},
      {"higher than 32767",
       [](const std::string& in, const std::string&) {
         WriteFile(in, OneBitGrey(1, 32768));
       },
       {kNotLoaded},
       Kept::kHeaderOnly},
      {"a side of 2^31 - 1",
       [](const std::string& in, const std::string&) {
         WriteFile(in, WithHeaderSize(WhiteSheet(2, 2), 1, 0x7FFFFFFF));
       },
       {kNotLoaded},
       Kept::kHeaderOnly},
      {"zero-length file",
       [](const std::string& in, const std::string&) { WriteFile(in, ""); },
       {kNotLoaded},
       Kept::kHeaderOnly},
      {"a folder given as the image",
       [](const std::string& in, const std::string&) {
         ASSERT_EQ(mkdir(in.c_str(), 0755), 0);
       },
       {kNotLoaded},
       Kept::kHeaderOnly},
      {"a FIFO given as the image (no writer: must not hang)",
       [](const std::string& in, const std::string&) {
         ASSERT_EQ(mkfifo(in.c_str(), 0644), 0);
       },
       {kNotLoaded},
       Kept::kHeaderOnly},
      {"output path is a folder",
       [](const std::string& in, const std::string& out) {
         WriteFile(in, WhiteSheet(16, 16));
         ASSERT_EQ(mkdir(out.c_str(), 0755), 0);
       },
       {kNotCreated, kSheetLine},
       Kept::kDirectory},
      {"a folder that does not exist",
       [](const std::string&, const std::string&) {},
       {kNotLoaded, kNotCreated},
       Kept::kNoFile},
      {"output on a full disk",
       [](const std::string& in, const std::string& out) {
         WriteFile(in, WhiteSheet(16, 16));
         ASSERT_EQ(symlink("/dev/full", out.c_str()), 0);
       },
       {kSheetLine, kNotWritten},
       Kept::kLink},
  };
  for (const ProgramUnderTest& program : kPrograms) {
    for (const Case& c : kCases) {
      SCOPED_TRACE(std::string(program.path) + ": " + c.name);
      TempDir dir;
      std::string input = c.kept == Kept::kNoFile
                              ? dir.File("no/such/folder/sheet.png")
                              : dir.File("sheet.png");
      std::string output = input + program.extension;
      c.arrange(input, output);
      testing_util::ProcessResult run = RunProcess(program.path, {input});
      std::string expected = "Loading file " + input + "\n";
      for (std::string line : c.lines) {
        if (line == kSheetLine) {
          if (program.sheet_line == nullptr) continue;
          line = program.sheet_line;
        }
        size_t at = line.find("%in");
        if (at != std::string::npos) line.replace(at, 3, input);
        at = line.find("%out");
        if (at != std::string::npos) line.replace(at, 4, output);
        expected += line + "\n";
      }
      EXPECT_EQ(run.out, expected);
      EXPECT_EQ(run.exit_status, 1);
      struct stat st;
      switch (c.kept) {
        case Kept::kHeaderOnly: {
          std::vector<std::string> lines = CrLfLines(ReadFile(output));
          ASSERT_EQ(lines.size(), 2u);
          EXPECT_EQ(lines[0], std::string(program.header) + "sheet");
          EXPECT_TRUE(IsCreationLine(lines[1])) << lines[1];
          break;
        }
        case Kept::kNoFile:
          EXPECT_FALSE(FileExists(dir.File("no")));
          break;
        case Kept::kDirectory:
          ASSERT_EQ(lstat(output.c_str(), &st), 0);
          EXPECT_TRUE(S_ISDIR(st.st_mode));
          break;
        case Kept::kLink:
          ASSERT_EQ(lstat(output.c_str(), &st), 0);
          EXPECT_TRUE(S_ISLNK(st.st_mode));
          break;
      }
    }
  }
}

// The file system stops taking bytes part way (the file size limit): the
// run says so, ends with 1, and the file keeps every byte it was given, a
// prefix of the complete output.
TEST(HostileRun, WriteRefusedMidwayKeepsWhatWasWritten) {
  constexpr long long kLimit = 10000;
  for (const ProgramUnderTest& program : kPrograms) {
    SCOPED_TRACE(program.path);
    TempDir dir;
    std::string input = dir.File("big.png");
    std::string output = input + program.extension;
    WriteFile(input, WhiteSheet(256, 256));
    ASSERT_EQ(RunProcess(program.path, {input}).exit_status, 0);
    std::string complete = ReadFile(output);
    ASSERT_GT(complete.size(), 3 * static_cast<size_t>(kLimit));

    RunningProcess run(program.path, {input}, "", kLimit);
    ASSERT_TRUE(run.started());
    run.CloseInput();
    EXPECT_EQ(run.Wait(), 1);
    std::string console = run.out();
    // The sprite converter's size line comes between the two.
    EXPECT_EQ(console.substr(0, console.find('\n') + 1),
              "Loading file " + input + "\n");
    std::string refused =
        "Output file could not be written completely: " + output + "\n";
    ASSERT_GE(console.size(), refused.size());
    EXPECT_EQ(console.substr(console.size() - refused.size()), refused);

    std::string kept = ReadFile(output);
    ASSERT_EQ(kept.size(), static_cast<size_t>(kLimit));
    // The two runs differ in their creation line only, whose length is fixed.
    size_t body = kept.find("\r\n", kept.find("\r\n") + 2) + 2;
    EXPECT_EQ(CrLfLines(kept)[0], CrLfLines(complete)[0]);
    EXPECT_EQ(kept.substr(body), complete.substr(body, kept.size() - body));
  }
}

// The converters on a decoded (or refused) image, console and output in
// memory; the output must hold whole lines.
void ConvertBoth(const std::string& bytes, Image* image) {
  for (Converter convert : {tiles::ConvertTiles, sprites::ConvertSprites}) {
    RunContext context;
    context.setName = "cut";
    context.options.cutUp = context.options.cutRight = true;
    context.image = std::move(*image);
    context.image.BeginPixelReading();
    std::istringstream in;
    std::ostringstream out;
    Console console(in, out);
    std::string text;
    OutputFile output;
    output.CaptureTo(&text);
    context.output = &output;
    context.console = &console;
    convert(context);
    EXPECT_EQ(output.Close(), Status::kOk);
    if (!text.empty()) {
      ASSERT_EQ(text.substr(text.size() - 2), "\r\n") << bytes.size();
    }
    context.image.EndPixelReading();
    *image = std::move(context.image);
  }
}

// A black and white noise sheet: every cell fits the tiles, every pixel
// fits the sprites, and no row begins with a marker.
std::vector<Colour> Noise(int width, int height) {
  std::mt19937 random(7);
  std::vector<Colour> pixels;
  for (int i = 0; i < width * height; ++i) {
    pixels.push_back(random() & 1 ? 0xFFFFFF : 0x000000);
  }
  return pixels;
}

TEST(HostileBytes, EveryCutKeepsAPrefixOfTheRows) {
  const int kSide = 48;
  std::vector<Colour> pixels = Noise(kSide, kSide);
  for (bool interlaced : {false, true}) {
    SCOPED_TRACE(interlaced ? "interlaced" : "plain");
    std::string png = RgbPng(kSide, kSide, pixels, interlaced);
    // The end of the last image data chunk, before its checksum.
    size_t data_end = png.rfind("IEND") - 8;
    bool damaged_seen = false;
    for (size_t cut = 0; cut < png.size(); ++cut) {
      std::string bytes = png.substr(0, cut);
      Image image;
      Status status = DecodePng(reinterpret_cast<const uint8_t*>(bytes.data()),
                                bytes.size(), &image);
      if (status == Status::kLoadFailed) {
        // Once the header is read, later cuts never fail outright.
        ASSERT_FALSE(damaged_seen) << cut;
        ASSERT_EQ(image.width(), 0);
      } else {
        damaged_seen = true;
        if (cut < data_end) {
          ASSERT_NE(status, Status::kOk) << "cut " << cut;
        }
        ASSERT_EQ(image.width(), kSide);
        ASSERT_EQ(image.height(), kSide);
        if (!interlaced) {
          // Whole rows come through, then black; a decoded row never lies.
          for (int p = 0; p < kSide * kSide; ++p) {
            Colour read = image.PixelColour(p % kSide, p / kSide);
            if (read != 0) {
              ASSERT_EQ(read, pixels[p]) << "cut " << cut;
            }
          }
        }
      }
      ConvertBoth(bytes, &image);
    }
    EXPECT_TRUE(damaged_seen);
  }
}

TEST(HostileBytes, FlippedBitsNeverBreakTheRun) {
  std::vector<Colour> pixels = Noise(40, 24);
  std::mt19937 random(11);
  for (bool interlaced : {false, true}) {
    std::string png = RgbPng(40, 24, pixels, interlaced);
    for (int round = 0; round < 400; ++round) {
      std::string bytes = png;
      int flips = 1 + static_cast<int>(random() % 4);
      for (int f = 0; f < flips; ++f) {
        // Past the signature, which only tells PNG from not-PNG.
        size_t at = 8 + random() % (bytes.size() - 8);
        bytes[at] = static_cast<char>(bytes[at] ^ (1 << (random() % 8)));
      }
      Image image;
      Status status = DecodePng(reinterpret_cast<const uint8_t*>(bytes.data()),
                                bytes.size(), &image);
      ASSERT_TRUE(status == Status::kOk || status == Status::kDamagedData ||
                  status == Status::kLoadFailed);
      ASSERT_EQ(status == Status::kLoadFailed, image.width() == 0);
      ASSERT_LE(image.width(), kMaxImageSide);
      ASSERT_LE(image.height(), kMaxImageSide);
      ConvertBoth(bytes, &image);
    }
  }
}

}  // namespace
}  // namespace common
