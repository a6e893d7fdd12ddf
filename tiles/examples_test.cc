// The example sheets in examples/: drawn by make_tile_examples, and
// converted by cellhew into the committed expected include files.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/image_loader.h"
#include "testing/test_util.h"

namespace {

using testing_util::CrLfLines;
using testing_util::ReadFile;
using testing_util::RunProcess;
using testing_util::TempDir;

const char* const kSheets[] = {"dungeon.tiles.png", "hud.tiles.png"};

std::string Example(const std::string& name) {
  return std::string(SOURCE_DIR) + "/examples/" + name;
}

TEST(TileExamples, CommittedSheetsAreTheDrawnOnes) {
  TempDir dir;
  ASSERT_EQ(RunProcess(MAKE_TILE_EXAMPLES_PATH, {dir.path()}).exit_status, 0);
  for (const char* name : kSheets) {
    SCOPED_TRACE(name);
    common::Image drawn, committed;
    ASSERT_EQ(common::LoadImage(dir.File(name), &drawn), common::Status::kOk);
    ASSERT_EQ(common::LoadImage(Example(name), &committed), common::Status::kOk);
    ASSERT_EQ(drawn.width(), committed.width());
    ASSERT_EQ(drawn.height(), committed.height());
    for (int y = 0; y < drawn.height(); ++y) {
      for (int x = 0; x < drawn.width(); ++x) {
        ASSERT_EQ(drawn.PixelColour(x, y), committed.PixelColour(x, y))
            << x << "," << y;
      }
    }
  }
}

TEST(TileExamples, ConvertToTheExpectedIncludeFiles) {
  TempDir dir;
  for (const char* name : kSheets) {
    SCOPED_TRACE(name);
    std::string sheet = dir.File(name);
    testing_util::WriteFile(sheet, ReadFile(Example(name)));
    testing_util::ProcessResult run = RunProcess(CELLHEW_PATH, {sheet});
    EXPECT_EQ(run.exit_status, 0);
    EXPECT_EQ(run.out, "Loading file " + sheet + "\n");
    std::vector<std::string> lines = CrLfLines(ReadFile(sheet + ".inc"));
    std::vector<std::string> expected =
        CrLfLines(ReadFile(Example(name) + ".inc.expected"));
    ASSERT_GT(expected.size(), 2u);
    ASSERT_EQ(lines.size(), expected.size());
    EXPECT_TRUE(testing_util::IsCreationLine(lines[1])) << lines[1];
    lines[1] = expected[1];
    EXPECT_EQ(lines, expected);
  }
}

}  // namespace
