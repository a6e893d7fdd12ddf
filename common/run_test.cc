// The run sequence with a recording converter: set name and output path,
// flags and wrong parameters, the console lines of each failure and the exit
// status that goes with it, and what reaches the output file.
#include "common/run.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <sstream>
#include <string>
#include <vector>

#include "testing/test_util.h"

namespace common {
namespace {

using testing_util::CrLfLines;
using testing_util::FileExists;
using testing_util::IsCreationLine;
using testing_util::ReadFile;
using testing_util::TempDir;
using testing_util::WriteFile;

TEST(SetNameFor, Cases) {
  const struct {
    const char* path;
    const char* set_name;
  } kCases[] = {
      {"tiles.png", "tiles"},
      {"C:\\gfx\\hero.sprites.png", "hero.sprites"},
      {"gfx/hero.png", "hero"},  // "/" separates as well
      {"/home/me/gfx\\hero.png", "hero"},
      {"pic.jpeg", "pic."},  // four characters go, whatever they are
      {"x.png\\y", "x.p"},
      {"sheet\\.png", ""},
      {"a.pn", ""},
      {".png", ""},
      {"abc", ""},
      {"", ""},
  };
  for (const auto& c : kCases) EXPECT_EQ(SetNameFor(c.path), c.set_name) << c.path;
}

// What the converter saw of the run, and what it answers.
struct Recorded {
  bool called = false;
  std::string input_path, set_name, output_path;
  RunOptions options;
  int width = -1, height = -1;
  Status answer = Status::kOk;
};
Recorded recorded;

Status RecordingConverter(RunContext& context) {
  recorded.called = true;
  recorded.input_path = context.inputPath;
  recorded.set_name = context.setName;
  recorded.output_path = context.outputPath;
  recorded.options = context.options;
  recorded.width = context.image.width();
  recorded.height = context.image.height();
  if (context.image.width() > 0) {
    context.output->WriteLine("body of " + std::to_string(context.image.width()));
  }
  if (recorded.answer != Status::kOk) context.console->Line("stopped");
  return recorded.answer;
}

const Program kProgram = {".inc", ";tileset: ", DropVariant::kTiles,
                          "Usage: test", RecordingConverter};

class RunSequence : public ::testing::Test {
 protected:
  void SetUp() override { recorded = Recorded(); }

  // Runs with the parameters; stdin holds two lines so that a test can see
  // that exactly one was read.
  int Run(const std::vector<std::string>& parameters,
          DropFront drop_front = nullptr) {
    in_.str("first\nsecond\n");
    Console console(in_, out_);
    return RunProgram(kProgram, parameters, console, drop_front);
  }

  std::string Sheet(const std::string& name) {
    std::string path = dir_.File(name);
    WriteFile(path, testing_util::RgbPng(3, 2, std::vector<Colour>(6, 0x123456)));
    return path;
  }

  std::string LineLeftOnStdin() {
    std::string line;
    std::getline(in_, line);
    return line;
  }

  TempDir dir_;
  std::istringstream in_;
  std::ostringstream out_;
};

TEST_F(RunSequence, ConvertsWithFlagsAfterThePath) {
  std::string sheet = Sheet("hero.png");
  EXPECT_EQ(Run({sheet, "/high", "/CutRight", "/HIGH"}), 0);
  EXPECT_EQ(out_.str(), "Loading file " + sheet + "\n");
  ASSERT_TRUE(recorded.called);
  EXPECT_EQ(recorded.input_path, sheet);
  EXPECT_EQ(recorded.set_name, "hero");
  EXPECT_EQ(recorded.output_path, sheet + ".inc");
  EXPECT_EQ(recorded.width, 3);
  EXPECT_EQ(recorded.height, 2);
  EXPECT_TRUE(recorded.options.high && recorded.options.cutRight);
  EXPECT_FALSE(recorded.options.length || recorded.options.cutUp ||
               recorded.options.andOr);
  std::vector<std::string> lines = CrLfLines(ReadFile(sheet + ".inc"));
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0], ";tileset: hero");
  EXPECT_TRUE(IsCreationLine(lines[1])) << lines[1];
  EXPECT_EQ(lines[2], "body of 3");
  EXPECT_EQ(LineLeftOnStdin(), "first");  // no wait for Enter
}

TEST_F(RunSequence, WrongParameterStopsBeforeAnyOutput) {
  std::string sheet = Sheet("sheet.png");
  const struct {
    std::vector<std::string> parameters;
    const char* reported;
  } kCases[] = {
      {{sheet, "/HIGH", "/height"}, "/height"},
      {{sheet, "/Cut-Up", "/alsowrong"}, "/Cut-Up"},  // the first one only
      {{sheet, "HIGH"}, "HIGH"},
      {{sheet, ""}, ""},
      {{sheet, " /HIGH"}, " /HIGH"},
      {{"/HIGH", sheet}, sheet.c_str()},  // a flag before the path is the path
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.reported);
    recorded = Recorded();
    out_.str("");
    EXPECT_EQ(Run(c.parameters), 2);
    EXPECT_EQ(out_.str(), std::string("Wrong parameter: ") + c.reported + "\n");
    EXPECT_FALSE(recorded.called);
    EXPECT_FALSE(FileExists(sheet + ".inc"));
    EXPECT_FALSE(FileExists("/HIGH.inc"));
    EXPECT_EQ(LineLeftOnStdin(), "second");  // one line read for Enter
  }
}

TEST_F(RunSequence, ImageThatCannotBeLoaded) {
  std::string missing = dir_.File("missing.png");
  EXPECT_EQ(Run({missing}), 1);
  EXPECT_EQ(out_.str(), "Loading file " + missing +
                            "\nImage could not be loaded: " + missing + "\n");
  ASSERT_TRUE(recorded.called);
  EXPECT_EQ(recorded.width, 0);
  EXPECT_EQ(recorded.height, 0);
  std::vector<std::string> lines = CrLfLines(ReadFile(missing + ".inc"));
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0], ";tileset: missing");
  EXPECT_TRUE(IsCreationLine(lines[1]));
}

TEST_F(RunSequence, DamagedImageIsConvertedAndReported) {
  std::string sheet = dir_.File("cut.png");
  std::vector<Colour> noise;
  for (int i = 0; i < 64 * 64; ++i) noise.push_back(i * 2654435761u & 0xFFFFFF);
  std::string png = testing_util::RgbPng(64, 64, noise);
  WriteFile(sheet, png.substr(0, png.size() / 2));
  EXPECT_EQ(Run({sheet}), 1);
  EXPECT_EQ(out_.str(),
            "Loading file " + sheet +
                "\nImage data is damaged, pixels after the damage read black: " +
                sheet + "\n");
  EXPECT_EQ(recorded.width, 64);
  EXPECT_EQ(recorded.height, 64);
  EXPECT_EQ(CrLfLines(ReadFile(sheet + ".inc")).back(), "body of 64");
}

TEST_F(RunSequence, OutputThatCannotBeCreated) {
  std::string sheet = dir_.File("no/such/folder/sheet.png");
  EXPECT_EQ(Run({sheet}), 1);
  EXPECT_EQ(out_.str(), "Loading file " + sheet +
                            "\nImage could not be loaded: " + sheet +
                            "\nOutput file could not be created: " + sheet +
                            ".inc\n");
  EXPECT_TRUE(recorded.called);  // the run goes on to its end

  // A folder where the output file should be.
  std::string blocked = Sheet("blocked.png");
  ASSERT_EQ(mkdir((blocked + ".inc").c_str(), 0755), 0);
  out_.str("");
  EXPECT_EQ(Run({blocked}), 1);
  EXPECT_EQ(out_.str(), "Loading file " + blocked +
                            "\nOutput file could not be created: " + blocked +
                            ".inc\n");
}

TEST_F(RunSequence, RefusedWriteIsReported) {
  std::string sheet = Sheet("full.png");
  ASSERT_EQ(symlink("/dev/full", (sheet + ".inc").c_str()), 0);
  EXPECT_EQ(Run({sheet}), 1);
  EXPECT_EQ(out_.str(), "Loading file " + sheet +
                            "\nOutput file could not be written completely: " +
                            sheet + ".inc\n");
}

TEST_F(RunSequence, ConverterStopKeepsTheLinesWrittenBefore) {
  std::string sheet = Sheet("stop.png");
  recorded.answer = Status::kColourError;
  EXPECT_EQ(Run({sheet}), 1);
  EXPECT_EQ(out_.str(), "Loading file " + sheet + "\nstopped\n");
  std::vector<std::string> lines = CrLfLines(ReadFile(sheet + ".inc"));
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[2], "body of 3");
}

// Drop fronts that end each way the window can end.
std::string dropped_path;
Status Dropped(DropVariant, Console&, std::string* input_path,
               RunOptions* options) {
  *input_path = dropped_path;
  options->andOr = true;
  return Status::kOk;
}
Status Closed(DropVariant, Console&, std::string*, RunOptions*) {
  return Status::kWindowClosed;
}
Status Failed(DropVariant, Console& console, std::string*, RunOptions*) {
  console.Line("no window");
  return Status::kWindowFailed;
}

TEST_F(RunSequence, DropMode) {
  EXPECT_EQ(Run({}), 2);  // no drop front: the usage line
  EXPECT_EQ(out_.str(), "Usage: test\n");

  out_.str("");
  EXPECT_EQ(Run({}, Closed), 0);
  EXPECT_EQ(out_.str(), "");
  EXPECT_FALSE(recorded.called);

  EXPECT_EQ(Run({}, Failed), 1);
  EXPECT_EQ(out_.str(), "no window\n");
  EXPECT_FALSE(recorded.called);

  dropped_path = Sheet("dropped.png");
  out_.str("");
  EXPECT_EQ(Run({}, Dropped), 0);
  EXPECT_EQ(out_.str(), "Loading file " + dropped_path + "\n");
  EXPECT_EQ(recorded.set_name, "dropped");
  EXPECT_TRUE(recorded.options.andOr);
  EXPECT_TRUE(FileExists(dropped_path + ".inc"));
}

// An empty input path: the set name is empty and the output file is the
// extension alone, in the current folder.
TEST(RunProgramProcess, EmptyInputPath) {
  TempDir dir;
  testing_util::ProcessResult run = testing_util::RunProcess(
      CELLHEW_PATH, {""}, "", dir.path());
  EXPECT_EQ(run.exit_status, 1);
  EXPECT_EQ(run.out, "Loading file \nImage could not be loaded: \n");
  std::vector<std::string> lines = CrLfLines(ReadFile(dir.File(".inc")));
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0], ";tileset: ");
  EXPECT_TRUE(IsCreationLine(lines[1]));
}

}  // namespace
}  // namespace common
