// The sprite converter end to end: the built glyphwright on PNG sheets.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "sprites/test_sheets.h"
#include "testing/test_util.h"

namespace {

using testing_util::BodyLines;
using testing_util::CrLfLines;
using testing_util::FileExists;
using testing_util::IsCreationLine;
using testing_util::ProcessResult;
using testing_util::ReadFile;
using testing_util::RgbPng;
using testing_util::RunProcess;
using testing_util::TempDir;
using testing_util::WriteFile;

using Lines = std::vector<std::string>;

std::string WriteSheet(const TempDir& dir, const std::string& name,
                       const Lines& rows) {
  std::string path = dir.File(name);
  WriteFile(path, RgbPng(static_cast<int>(rows[0].size()),
                         static_cast<int>(rows.size()),
                         sprites_test::SheetPixels(rows)));
  return path;
}

ProcessResult RunGlyphwright(const std::string& sheet, const Lines& flags,
                             const std::string& input = "") {
  Lines args = {sheet};
  args.insert(args.end(), flags.begin(), flags.end());
  return RunProcess(GLYPHWRIGHT_PATH, args, input);
}

// The worked example's body with /CUTRIGHT /CUTUP /HIGH /LENGTH.
const Lines& TrimmedDemoBody() {
  static const Lines body = {"demo_000",
                             "\tdb\t2\t;high",
                             "\tdb\t1\t;len",
                             "\tdb\t#3E,#60",
                             "\tdb\t#FF,#F0",
                             "demo_001",
                             "\tdb\t2\t;high",
                             "\tdb\t2\t;len",
                             "\tdb\t#01,#80,#00,#00",
                             "\tdb\t#00,#00,#02,#40"};
  return body;
}

// The whole output file: header lines checked, body returned.
Lines CheckedBody(const std::string& output_path, const std::string& set_name) {
  Lines lines = CrLfLines(ReadFile(output_path));
  if (lines.size() < 2) {
    ADD_FAILURE() << "no header in " << output_path;
    return {};
  }
  EXPECT_EQ(lines[0], ";spriteset: " + set_name);
  EXPECT_TRUE(IsCreationLine(lines[1])) << lines[1];
  return Lines(lines.begin() + 2, lines.end());
}

TEST(Glyphwright, WorkedExample) {
  struct Case {
    Lines flags;
    std::string console;
    Lines body;
  };
  const Case cases[] = {
      {{},
       "3x16\n2x16\n",
       {"demo_000", "\tdb\t#00,#00,#00,#00", "\tdb\t#3E,#60,#00,#00",
        "\tdb\t#FF,#F0,#00,#00", "demo_001", "\tdb\t#01,#80,#00,#00",
        "\tdb\t#00,#00,#02,#40"}},
      {{"/CUTRIGHT", "/CUTUP", "/HIGH", "/LENGTH"},
       "3x8\n2x16\n",
       TrimmedDemoBody()},
      {{"/ANDOR"},
       "3x16\n2x16\n",
       {"demo_000", "\tdb\t#FF,#00,#FF,#00", "\tdb\t#C1,#1C,#FF,#00",
        "\tdb\t#00,#0F,#FF,#00", "demo_001", "\tdb\t#FE,#00,#FF,#00",
        "\tdb\t#FF,#00,#FD,#00"}},
  };
  TempDir dir;
  std::string sheet = WriteSheet(dir, "demo.png", sprites_test::DemoRows());
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.flags));
    ProcessResult run = RunGlyphwright(sheet, c.flags);
    EXPECT_EQ(run.exit_status, 0);
    EXPECT_EQ(run.out, "Loading file " + sheet + "\n" + c.console);
    EXPECT_EQ(CheckedBody(sheet + ".a80", "demo"), c.body);
  }
}

TEST(Glyphwright, FlagsInAnyCaseAndOrder) {
  const Lines orders[] = {
      {"/length", "/cutup", "/high", "/cutright"},
      {"/Cutright", "/HIGH", "/cUtUp", "/Length", "/high"},
  };
  TempDir dir;
  std::string sheet = WriteSheet(dir, "demo.png", sprites_test::DemoRows());
  for (const Lines& flags : orders) {
    SCOPED_TRACE(testing::PrintToString(flags));
    ProcessResult run = RunGlyphwright(sheet, flags);
    EXPECT_EQ(run.exit_status, 0);
    EXPECT_EQ(CheckedBody(sheet + ".a80", "demo"), TrimmedDemoBody());
  }
}

TEST(Glyphwright, WrongParameterCreatesNoFile) {
  struct Case {
    Lines flags;
    std::string shown;
  };
  const Case cases[] = {
      {{"/height"}, "/height"},
      {{"/cut-up"}, "/cut-up"},
      {{"-HIGH"}, "-HIGH"},
      {{"HIGH"}, "HIGH"},
      {{""}, ""},
      {{" /HIGH"}, " /HIGH"},
      {{"/HIGH", "/AndOrs", "/bogus"}, "/AndOrs"},
  };
  TempDir dir;
  std::string sheet = WriteSheet(dir, "demo.png", sprites_test::DemoRows());
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.flags));
    ProcessResult run = RunGlyphwright(sheet, c.flags, "\n");
    EXPECT_EQ(run.exit_status, 2);
    EXPECT_EQ(run.out, "Wrong parameter: " + c.shown + "\n");
    EXPECT_FALSE(FileExists(sheet + ".a80"));
  }
}

TEST(Glyphwright, WrongColourInTheThirdSprite) {
  TempDir dir;
  std::string sheet = WriteSheet(dir, "stop.png",
                                 {"DEEEEEEE",  //
                                  "MEEEEEEE",  //
                                  "LEEEEEEE",  //
                                  "MEEEEEEE",  //
                                  "EEDEEEEE",  //
                                  "EEEYEEEE",  //
                                  "MEEEEEEE",  //
                                  "DEEEEEEE"});
  ProcessResult run = RunGlyphwright(sheet, {"/length"}, "\n");
  EXPECT_EQ(run.exit_status, 1);
  EXPECT_EQ(run.out, "Loading file " + sheet +
                         "\n1x8\n1x8\n2x8\nwrong color FFFF at 3,5\n");
  EXPECT_EQ(CheckedBody(sheet + ".a80", "stop"),
            (Lines{"stop_000", "\tdb\t1\t;len", "\tdb\t#01,#80", "stop_001",
                   "\tdb\t1\t;len", "\tdb\t#01,#00", "stop_002",
                   "\tdb\t1\t;len", "\tdb\t#04,#20"}));
}

TEST(Glyphwright, ImageThatCannotBeLoaded) {
  TempDir dir;
  std::string not_png = dir.File("notes.png");
  WriteFile(not_png, "just text\n");
  for (const std::string& path : {not_png, dir.File("missing.png")}) {
    SCOPED_TRACE(path);
    ProcessResult run = RunGlyphwright(path, {"/CUTUP"});
    EXPECT_EQ(run.exit_status, 1);
    EXPECT_EQ(run.out, "Loading file " + path +
                           "\nImage could not be loaded: " + path + "\n");
    EXPECT_TRUE(
        CheckedBody(path + ".a80", path == not_png ? "notes" : "missing")
            .empty());
  }
}

// The bytes the db lines stand for: "#" hexadecimal and plain decimal
// values, up to a comment.
std::string DbBytes(const Lines& body) {
  std::string bytes;
  for (const std::string& line : body) {
    if (line.rfind("\tdb\t", 0) != 0) continue;
    std::string values = line.substr(4, line.find(';') - 4);
    size_t start = 0;
    while (start < values.size()) {
      size_t end = values.find(',', start);
      if (end == std::string::npos) end = values.size();
      std::string v = values.substr(start, end - start);
      bytes.push_back(static_cast<char>(
          v[0] == '#' ? std::strtol(v.c_str() + 1, nullptr, 16)
                      : std::strtol(v.c_str(), nullptr, 10)));
      start = end + 1;
    }
  }
  return bytes;
}

TEST(Glyphwright, AssemblerTakesTheOutputAsWritten) {
  TempDir dir;
  std::string sheet = WriteSheet(dir, "ship.png",
                                 {"EEELLEEEEEEEEEEE",  //
                                  "EEDLLDEEEEEEEEEE",  //
                                  "EDDLLDDEDDDDDEEE",  //
                                  "MEEEEEEEEEEEEEEE",  //
                                  "LEEEEEEEEEEEEEED"});
  ProcessResult run =
      RunGlyphwright(sheet, {"/HIGH", "/LENGTH", "/CUTRIGHT", "/ANDOR"});
  ASSERT_EQ(run.exit_status, 0);
  Lines body = CheckedBody(sheet + ".a80", "ship");
  std::string expected = DbBytes(body);
  ASSERT_EQ(expected.size(), 2u + 2 * 3 * 2 + 2 + 2 * 2);
  std::string binary = dir.File("ship.bin");
  ASSERT_TRUE(FileExists(PASMO_PATH))
      << "the assembler pasmo is not installed (" << PASMO_PATH << ")";
  ProcessResult assembled =
      RunProcess(PASMO_PATH, {"--bin", sheet + ".a80", binary});
  ASSERT_EQ(assembled.exit_status, 0) << assembled.out << assembled.err;
  EXPECT_EQ(ReadFile(binary), expected);
}

TEST(Glyphwright, PngSuiteRunsWithoutACrash) {
  const std::string suite = PNGSUITE_DIR;
  std::vector<std::string> names = testing_util::PngFilesIn(suite);
  ASSERT_FALSE(names.empty()) << "no PNG suite at " << suite;
  TempDir dir;
  for (const std::string& name : names) {
    SCOPED_TRACE(name);
    std::string sheet = dir.File(name);
    WriteFile(sheet, ReadFile(suite + "/" + name));
    for (const Lines& flags :
         {Lines{}, Lines{"/CUTRIGHT", "/CUTUP", "/HIGH", "/LENGTH"}}) {
      ProcessResult run = RunGlyphwright(sheet, flags);
      EXPECT_FALSE(testing_util::SanitizerSpoke(run.err)) << run.err;
      std::string loading = "Loading file " + sheet + "\n";
      ASSERT_EQ(run.out.compare(0, loading.size(), loading), 0) << run.out;
      std::string rest = run.out.substr(loading.size());
      if (name[0] == 'x') {
        EXPECT_EQ(run.exit_status, 1);
        bool reported =
            rest.rfind("Image could not be loaded: " + sheet + "\n", 0) == 0 ||
            rest.rfind(
                "Image data is damaged, pixels after the damage read "
                "black: " +
                    sheet + "\n",
                0) == 0;
        EXPECT_TRUE(reported) << run.out;
      } else if (run.exit_status == 1) {
        // A sound file fails only at a pixel of no class.
        EXPECT_NE(rest.find("wrong color "), std::string::npos) << run.out;
      } else {
        EXPECT_EQ(run.exit_status, 0) << run.out;
      }
      EXPECT_GE(CrLfLines(ReadFile(sheet + ".a80")).size(), 2u);
    }
  }
}

}  // namespace
