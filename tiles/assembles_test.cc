// A real assembler takes the include file as it is written and produces
// exactly the bytes its db lines spell.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "testing/test_util.h"

namespace {

using testing_util::Colour;
using testing_util::ReadFile;
using testing_util::RunProcess;
using testing_util::TempDir;
using testing_util::WriteFile;

// The bytes of the body's db lines, each "#" and two hexadecimal digits.
std::string DbBytes(const std::vector<std::string>& body) {
  std::string bytes;
  for (const std::string& line : body) {
    EXPECT_EQ(line.compare(0, 4, "\tdb\t"), 0) << line;
    for (size_t at = 4; at < line.size(); at += 4) {
      EXPECT_EQ(line[at], '#') << line;
      bytes.push_back(static_cast<char>(std::stoi(line.substr(at + 1, 2), nullptr, 16)));
    }
  }
  return bytes;
}

TEST(Assembler, IncludeFileAssemblesToItsDbBytes) {
  ASSERT_TRUE(testing_util::FileExists(PASMO_PATH))
      << "the assembler pasmo is not installed (" << PASMO_PATH << ")";
  // 48 x 32: six tiles of two-colour cells with patterns of noise.
  const Colour kPairs[][2] = {{0x000000, 0xFFFFFF}, {0x0000FF, 0xFF0000},
                              {0x00FF00, 0x000000}, {0xC0C0C0, 0x00FFFF},
                              {0x646464, 0x000000}};
  std::mt19937 random(11);
  std::vector<Colour> pixels(48 * 32);
  for (int y = 0; y < 32; ++y) {
    for (int x = 0; x < 48; ++x) {
      const Colour* pair = kPairs[(x / 8 + 6 * (y / 8)) % 5];
      pixels[y * 48 + x] = pair[random() % 2];
    }
  }
  TempDir dir;
  WriteFile(dir.File("sheet.png"), testing_util::RgbPng(48, 32, pixels));
  testing_util::ProcessResult converted =
      RunProcess(CELLHEW_PATH, {dir.File("sheet.png")});
  ASSERT_EQ(converted.exit_status, 0) << converted.out;
  std::string include = ReadFile(dir.File("sheet.png.inc"));
  std::string expected = DbBytes(testing_util::BodyLines(include));
  ASSERT_EQ(expected.size(), 6u * 36);

  WriteFile(dir.File("game.asm"),
            "\torg 32768\n\tinclude \"sheet.png.inc\"\n\tend\n");
  testing_util::ProcessResult assembled = RunProcess(
      PASMO_PATH, {"game.asm", "game.bin"}, "", dir.path());
  ASSERT_EQ(assembled.exit_status, 0) << assembled.out << assembled.err;
  EXPECT_TRUE(ReadFile(dir.File("game.bin")) == expected);
}

}  // namespace
