// cellhew on every file of the PNG conformance suite: no crash and no
// sanitizer report on any of them; a corrupt file (name starting with x)
// ends with status 1 and the console line of its failure; every other file
// loads whole; an interlaced file converts exactly like its plain twin.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/image_loader.h"
#include "testing/test_util.h"

namespace {

using testing_util::BodyLines;
using testing_util::ReadFile;
using testing_util::RunProcess;
using testing_util::SanitizerSpoke;
using testing_util::TempDir;

const char kSuite[] = PNGSUITE_DIR;

struct Conversion {
  int exit_status;
  std::vector<std::string> console;  // the lines after "Loading file"
  std::string err;
  std::vector<std::string> body;
};

// Converts a copy of the suite's file, so that the output lands in dir.
Conversion Convert(const TempDir& dir, const std::string& name) {
  std::string sheet = dir.File(name);
  testing_util::WriteFile(sheet, ReadFile(std::string(kSuite) + "/" + name));
  testing_util::ProcessResult run = RunProcess(CELLHEW_PATH, {sheet}, "\n");
  Conversion conversion{run.exit_status, {}, run.err,
                        BodyLines(ReadFile(sheet + ".inc"))};
  size_t start = 0;
  while (start < run.out.size()) {
    size_t end = run.out.find('\n', start);
    if (end == std::string::npos) end = run.out.size();
    conversion.console.push_back(run.out.substr(start, end - start));
    start = end + 1;
  }
  EXPECT_FALSE(conversion.console.empty()) << name;
  if (!conversion.console.empty()) {
    EXPECT_EQ(conversion.console[0], "Loading file " + sheet);
    conversion.console.erase(conversion.console.begin());
  }
  return conversion;
}

class PngSuite : public ::testing::Test {
 protected:
  void SetUp() override {
    names_ = testing_util::PngFilesIn(kSuite);
    if (names_.empty()) GTEST_SKIP() << "no PNG suite at " << kSuite;
    ASSERT_EQ(names_.size(), 175u) << "incomplete PNG suite at " << kSuite;
  }
  std::vector<std::string> names_;
};

TEST_F(PngSuite, EveryFileEndsWithItsStatusAndLines) {
  TempDir dir;
  for (const std::string& name : names_) {
    SCOPED_TRACE(name);
    Conversion run = Convert(dir, name);
    EXPECT_FALSE(SanitizerSpoke(run.err)) << run.err;
    if (name[0] == 'x') {
      ASSERT_EQ(run.exit_status, 1);
      ASSERT_FALSE(run.console.empty());
      const std::string& line = run.console[0];
      EXPECT_TRUE(line == "Image could not be loaded: " + dir.File(name) ||
                  line ==
                      "Image data is damaged, pixels after the damage read "
                      "black: " + dir.File(name))
          << line;
    } else if (run.exit_status == 1) {
      // A sound file fails only for a cell of more than two colours.
      ASSERT_FALSE(run.console.empty());
      EXPECT_EQ(run.console[0].rfind("Detected more then 2 colors per char at: ",
                                     0),
                0u)
          << run.console[0];
      EXPECT_TRUE(run.body.empty());
    } else {
      EXPECT_EQ(run.exit_status, 0);
      EXPECT_TRUE(run.console.empty());
    }
  }
}

TEST_F(PngSuite, InterlacedFilesConvertLikeTheirPlainTwins) {
  TempDir dir;
  int twins = 0;
  for (const std::string& name : names_) {
    if (name.rfind("basi", 0) != 0) continue;
    std::string twin = "basn" + name.substr(4);
    SCOPED_TRACE(name + " and " + twin);
    Conversion interlaced = Convert(dir, name);
    Conversion plain = Convert(dir, twin);
    EXPECT_EQ(interlaced.exit_status, plain.exit_status);
    EXPECT_EQ(interlaced.console, plain.console);
    EXPECT_EQ(interlaced.body, plain.body);
    // Most twins stop at a cell of many colours, so compare every pixel too.
    common::Image a, b;
    ASSERT_EQ(common::LoadImage(dir.File(name), &a), common::Status::kOk);
    ASSERT_EQ(common::LoadImage(dir.File(twin), &b), common::Status::kOk);
    ASSERT_EQ(a.width(), b.width());
    ASSERT_EQ(a.height(), b.height());
    for (int y = 0; y < a.height(); ++y) {
      for (int x = 0; x < a.width(); ++x) {
        ASSERT_EQ(a.PixelColour(x, y), b.PixelColour(x, y)) << x << "," << y;
      }
    }
    ++twins;
  }
  EXPECT_EQ(twins, 15);
}

}  // namespace
