// The stop signals sent to a running program: while it waits for Enter
// after an error, and in the middle of a long conversion. The lines written
// so far reach the file, whole, and the program dies of the signal at once.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <string>
#include <vector>

#include "common/output_file.h"
#include "common/platform.h"
#include "sprites/test_sheets.h"
#include "testing/test_util.h"

namespace {

using testing_util::CrLfLines;
using testing_util::IsCreationLine;
using testing_util::ReadFile;
using testing_util::RgbPng;
using testing_util::RunningProcess;
using testing_util::RunProcess;
using testing_util::TempDir;
using testing_util::WriteFile;

const int kStopSignals[] = {SIGINT, SIGTERM, SIGHUP};

std::string SheetFile(const TempDir& dir, const std::string& name,
                      const std::vector<std::string>& rows) {
  std::string path = dir.File(name);
  WriteFile(path, RgbPng(static_cast<int>(rows[0].size()),
                         static_cast<int>(rows.size()),
                         sprites_test::SheetPixels(rows)));
  return path;
}

struct Stopped {
  const char* program;
  const char* extension;
  std::vector<std::string> rows;
  const char* report;  // console text that shows the wait has begun
};

TEST(StopSignal, WhileWaitingForEnterAfterAnError) {
  const std::vector<Stopped> kRuns = {
      // A cell of three colours.
      {CELLHEW_PATH, ".inc",
       {"DDDDLLLL", "DDDDLLLL", "DDDDLLLL", "DDDDLLLL", "DDDDLLLL", "DDDDLLLL",
        "DDDDLLLL", "DDDDLLLY"},
       "colors 3\n"},
      // A first sprite written whole, then a pixel of no class.
      {GLYPHWRIGHT_PATH, ".a80",
       {"DDLLDDLL", "LLDDLLDD", "MMMMMMMM", "EEDDEEDD", "EEYEEEEE"},
       "wrong color"},
  };
  for (const Stopped& run : kRuns) {
    TempDir dir;
    // What the run writes before its stop: the same run, with Enter given.
    std::string reference = SheetFile(dir, "sheet.png", run.rows);
    ASSERT_EQ(RunProcess(run.program, {reference}).exit_status, 1);
    std::vector<std::string> before =
        CrLfLines(ReadFile(reference + run.extension));
    ASSERT_GE(before.size(), 2u);
    for (int signal_number : kStopSignals) {
      SCOPED_TRACE(std::string(run.program) + " " + strsignal(signal_number));
      TempDir at;
      std::string sheet = SheetFile(at, "sheet.png", run.rows);
      RunningProcess process(run.program, {sheet});
      ASSERT_TRUE(process.WaitForOutput(run.report));
      usleep(50 * 1000);  // the rest of the report, then the wait
      process.Signal(signal_number);
      EXPECT_EQ(process.Wait(), 128 + signal_number);
      std::vector<std::string> lines = CrLfLines(ReadFile(sheet + run.extension));
      ASSERT_EQ(lines.size(), before.size());
      EXPECT_EQ(lines[0], before[0]);
      EXPECT_TRUE(IsCreationLine(lines[1]));
      for (size_t i = 2; i < lines.size(); ++i) EXPECT_EQ(lines[i], before[i]);
    }
  }
}

// A sheet of 16384 one-row sprites: far more size lines than a pipe holds,
// so a program whose console nobody reads stops in the middle of its
// conversion with much of its output written.
std::vector<std::string> ManySpriteRows() {
  std::vector<std::string> rows;
  for (int i = 0; i < 16384; ++i) {
    if (i > 0) rows.push_back(std::string(64, 'M'));
    rows.push_back(std::string(32, 'D') + std::string(32, 'L'));
  }
  return rows;
}

long FileSize(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0 ? static_cast<long>(st.st_size) : -1;
}

// The block every sprite of the sheet gets, after its label line.
std::vector<std::string> OneSpriteBlock(const TempDir& dir) {
  std::string single = SheetFile(dir, "one.png", {ManySpriteRows()[0]});
  EXPECT_EQ(RunProcess(GLYPHWRIGHT_PATH, {single}).exit_status, 0);
  std::vector<std::string> lines = CrLfLines(ReadFile(single + ".a80"));
  EXPECT_GE(lines.size(), 4u);
  return std::vector<std::string>(lines.begin() + 3, lines.end());
}

std::string Label(int index) {
  std::string digits = std::to_string(index);
  if (digits.size() < 3) digits.insert(0, 3 - digits.size(), '0');
  return "many_" + digits;
}

TEST(StopSignal, InTheMiddleOfALongConversion) {
  TempDir dir;
  std::vector<std::string> block = OneSpriteBlock(dir);
  std::string sheet = SheetFile(dir, "many.png", ManySpriteRows());
  std::string output = sheet + ".a80";
  // SIGPIPE: the console's reader went away, as good as a closed terminal.
  for (int signal_number : {SIGINT, SIGTERM, SIGHUP, SIGPIPE}) {
    SCOPED_TRACE(strsignal(signal_number));
    unlink(output.c_str());
    RunningProcess process(GLYPHWRIGHT_PATH, {sheet});
    ASSERT_TRUE(process.WaitForOutput("Loading file"));
    // Past one buffer of lines, and the conversion cannot have ended.
    const long kPast = static_cast<long>(common::OutputFile::kBufferSize);
    for (int i = 0; i < 2000 && FileSize(output) <= kPast; ++i) {
      usleep(5 * 1000);
    }
    ASSERT_GT(FileSize(output), kPast);
    if (signal_number == SIGPIPE) {
      process.CloseOutput();  // the next size line meets no reader
    } else {
      process.Signal(signal_number);
    }
    ASSERT_EQ(process.Wait(), 128 + signal_number);

    std::string text = ReadFile(output);
    ASSERT_EQ(text.substr(text.size() - 2), "\r\n");
    std::vector<std::string> lines = CrLfLines(text);
    ASSERT_EQ(lines[0], ";spriteset: many");
    ASSERT_TRUE(IsCreationLine(lines[1]));
    size_t per_sprite = 1 + block.size();
    size_t sprites = (lines.size() - 2) / per_sprite;
    for (size_t i = 2; i < lines.size(); ++i) {
      size_t in_block = (i - 2) % per_sprite;
      const std::string& expected =
          in_block == 0 ? Label(static_cast<int>((i - 2) / per_sprite))
                        : block[in_block - 1];
      ASSERT_EQ(lines[i], expected) << "line " << i;
    }
    if (signal_number != SIGPIPE) {
      // Every sprite whose size line was shown before the last one has its
      // block in the file: nothing written was lost.
      size_t shown = 0;
      for (char ch : process.out()) shown += ch == '\n';
      shown -= 1;  // "Loading file"
      EXPECT_GE(sprites + 1, shown);
      EXPECT_LT(sprites, 16384u);
    }
  }
}

// A stop signal that arrived while main code was handing lines over ends
// the process once the hand-over is done: the line in hand reaches the file
// whole, with its line end, and nothing after it.
TEST(StopSignalDeathTest, LateStopEndsAfterTheLineInHand) {
  constexpr size_t kBufferSize = common::OutputFile::kBufferSize;
  const std::string kLong(kBufferSize + 1000, 'x');
  const struct {
    const char* name;
    std::vector<std::string> buffered;  // written before the signal
    std::string in_hand;                // being handed over when it came
    std::string kept;
  } kCases[] = {
      {"a long line straight to the file", {}, kLong, kLong + "\r\n"},
      {"the buffer flushed for a long line", {"a", "b"}, kLong, "a\r\nb\r\n"},
      {"the buffer flushed for a short one",
       {std::string(kBufferSize - 100, 'y')},
       std::string(200, 'z'),
       std::string(kBufferSize - 100, 'y') + "\r\n"},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.name);
    TempDir dir;
    std::string path = dir.File("out.inc");
    EXPECT_EXIT(
        {
          common::OutputFile file;
          file.Create(path);
          common::RegisterOutputForSignals(&file);
          for (const std::string& line : c.buffered) file.WriteLine(line);
          common::OutputFile::stop_signal = SIGTERM;
          file.WriteLine(c.in_hand);
          file.Close();
          std::_Exit(0);
        },
        ::testing::KilledBySignal(SIGTERM), "");
    EXPECT_EQ(ReadFile(path), c.kept);
  }
}

}  // namespace
