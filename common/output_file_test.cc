// The output file: CR LF after every line, lines of any length whole and in
// order, an old file emptied, and creation or writes the file system refuses.
#include "common/output_file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "testing/test_util.h"

namespace common {
namespace {

using testing_util::ReadFile;
using testing_util::TempDir;

TEST(OutputFile, LinesEndInCrLfEmptyLineIncluded) {
  TempDir dir;
  std::string path = dir.File("out.inc");
  std::string captured;
  {
    OutputFile file;
    ASSERT_EQ(file.Create(path), Status::kOk);
    OutputFile capture;
    capture.CaptureTo(&captured);
    for (OutputFile* out : {&file, &capture}) {
      out->WriteLine(";first");
      out->WriteLine("");
      out->WriteLine("\tdb\t#00");
    }
    EXPECT_EQ(file.Close(), Status::kOk);
    EXPECT_EQ(capture.Close(), Status::kOk);
  }
  EXPECT_EQ(ReadFile(path), ";first\r\n\r\n\tdb\t#00\r\n");
  EXPECT_EQ(captured, ";first\r\n\r\n\tdb\t#00\r\n");
}

// Lengths around the buffer's size, mixed with short lines, so that every
// path of the writer (copy, flush then copy, flush then write straight) is
// taken.
TEST(OutputFile, LinesOfAnyLengthWholeAndInOrder) {
  constexpr size_t B = OutputFile::kBufferSize;
  const size_t kLengths[] = {10,    B - 3, B - 2, 1,     B - 1, 0,      B,
                             B + 1, 3,     2 * B, 3 * B, 2,     B - 96, B - 6};
  TempDir dir;
  std::string path = dir.File("long.inc");
  std::string expected;
  {
    OutputFile file;
    ASSERT_EQ(file.Create(path), Status::kOk);
    char letter = 'a';
    for (size_t length : kLengths) {
      std::string line(length, letter++);
      if (length > 0) line.back() = '|';
      file.WriteLine(line);
      expected += line + "\r\n";
    }
  }  // the destructor closes
  std::string written = ReadFile(path);
  EXPECT_EQ(written.size(), expected.size());
  EXPECT_TRUE(written == expected);
}

TEST(OutputFile, LongerOldFileIsEmptied) {
  TempDir dir;
  std::string path = dir.File("sheet.png.inc");
  testing_util::WriteFile(path, std::string(20000, 'x') + "\r\nold line\r\n");
  OutputFile file;
  ASSERT_EQ(file.Create(path), Status::kOk);
  file.WriteLine("new");
  ASSERT_EQ(file.Close(), Status::kOk);
  EXPECT_EQ(ReadFile(path), "new\r\n");
}

TEST(OutputFile, CreationRefusedSwallowsEveryLine) {
  TempDir dir;
  for (const std::string& path :
       {dir.File("missing/folder/out.inc"), dir.path(), std::string()}) {
    SCOPED_TRACE(path);
    OutputFile file;
    EXPECT_EQ(file.Create(path), Status::kCreateFailed);
    file.WriteLine(std::string(OutputFile::kBufferSize + 1, 'x'));
    file.WriteLine("short");
    EXPECT_EQ(file.Close(), Status::kOk);  // nothing was refused
  }
  EXPECT_FALSE(testing_util::FileExists(dir.File("missing")));
}

// A device that refuses every write stands in for a full disk: the refusal
// is noticed, whether it comes with a line written straight or with the
// buffer handed over at the close.
TEST(OutputFile, RefusedWriteIsReported) {
  constexpr size_t kHalf = OutputFile::kBufferSize / 2;
  const struct {
    const char* name;
    std::vector<size_t> lengths;
  } kCases[] = {{"short lines, refused at the close", {10, 20}},
                {"buffer full", {kHalf + 100, kHalf + 100}},
                {"line written straight", {2 * kHalf + 1}}};
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.name);
    OutputFile file;
    ASSERT_EQ(file.Create("/dev/full"), Status::kOk);
    for (size_t length : c.lengths) file.WriteLine(std::string(length, 'x'));
    EXPECT_EQ(file.Close(), Status::kWriteFailed);
    EXPECT_TRUE(file.write_failed());
  }
}

TEST(OutputFile, WithoutDestinationDoesNothing) {
  OutputFile file;
  file.WriteLine("lost");
  EXPECT_EQ(file.Close(), Status::kOk);
  EXPECT_EQ(file.Close(), Status::kOk);
}

}  // namespace
}  // namespace common
