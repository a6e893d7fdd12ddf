// The sprite blocks and console lines of whole sheets, converted in memory.
#include "sprites/sprite_writer.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "sprites/sprite_conversion.h"
#include "sprites/test_sheets.h"
#include "testing/test_util.h"

namespace sprites {
namespace {

using common::RunOptions;
using common::Status;

TEST(SpriteLabel, ThreeDigitsBelow1000AndEveryDigitFrom1000On) {
  struct Case {
    const char* set_name;
    int index;
    const char* label;
  };
  const Case cases[] = {
      {"demo", 0, "demo_000"},       {"demo", 7, "demo_007"},
      {"demo", 10, "demo_010"},      {"demo", 100, "demo_100"},
      {"demo", 999, "demo_999"},     {"demo", 1000, "demo_1000"},
      {"demo", 12345, "demo_12345"}, {"", 3, "_003"},
  };
  for (const Case& c : cases) {
    std::string line = "old";
    line.clear();
    AppendLabel(&line, c.set_name, c.index);
    EXPECT_EQ(line, c.label);
  }
}

struct Converted {
  Status status;
  std::string console;       // what was printed
  std::string unread_input;  // console input left after the run
  std::vector<std::string> lines;
};

Converted Convert(const std::vector<std::string>& rows,
                  const RunOptions& options, const std::string& set_name = "s",
                  const std::string& input = "\nafter\n") {
  common::RunContext context;
  testing_util::FillImage(static_cast<int>(rows[0].size()),
                          static_cast<int>(rows.size()),
                          sprites_test::SheetPixels(rows), &context.image);
  context.options = options;
  context.setName = set_name;
  std::string text;
  common::OutputFile output;
  output.CaptureTo(&text);
  std::istringstream in(input);
  std::ostringstream out;
  common::Console console(in, out);
  context.output = &output;
  context.console = &console;
  Converted result;
  result.status = ConvertSprites(context);
  output.Close();
  result.console = out.str();
  std::getline(in, result.unread_input, '\0');
  result.lines = testing_util::CrLfLines(text);
  return result;
}

RunOptions HighAndLength() {
  RunOptions options;
  options.high = true;
  options.length = true;
  return options;
}

TEST(SpriteWriter, SpriteOfHeightZeroKeepsItsLabelAndCounts) {
  RunOptions options = HighAndLength();
  Converted c = Convert(
      {"MEEEEEEEEEEEEEEE", "MEEEEEEEEEEEEEEE", "EEEEEEEEEEEEEEED"}, options);
  EXPECT_EQ(c.status, Status::kOk);
  EXPECT_EQ(c.console, "0x16\n0x16\n1x16\n");
  EXPECT_EQ(c.lines, (std::vector<std::string>{
                         "s_000", "\tdb\t0\t;high", "\tdb\t2\t;len",  //
                         "s_001", "\tdb\t0\t;high", "\tdb\t2\t;len",  //
                         "s_002", "\tdb\t1\t;high", "\tdb\t2\t;len",
                         "\tdb\t#00,#00,#80,#01"}));
  options.cutRight = true;
  c = Convert({"MEEEEEEEEEEEEEEE"}, options);
  EXPECT_EQ(c.console, "0x8\n");
  EXPECT_EQ(c.lines, (std::vector<std::string>{"s_000", "\tdb\t0\t;high",
                                               "\tdb\t1\t;len"}));
}

TEST(SpriteWriter, SizeLineShowsTheHeightBeforeTheTopTrim) {
  std::vector<std::string> rows(16, "EEEEEEEE");
  rows[3] = "DEEEEEEE";
  RunOptions options = HighAndLength();
  options.cutUp = true;
  Converted c = Convert(rows, options);
  EXPECT_EQ(c.console, "16x8\n");
  ASSERT_EQ(c.lines.size(), 3u + 13u);
  EXPECT_EQ(c.lines[1], "\tdb\t13\t;high");
  EXPECT_EQ(c.lines[3], "\tdb\t#01,#80");
  EXPECT_EQ(c.lines[15], "\tdb\t#00,#00");
}

TEST(SpriteWriter, WidthNotAMultipleOf8) {
  // Without the right trim the last width % 8 columns are never encoded,
  // so their yellow stops nothing.
  RunOptions options = HighAndLength();
  Converted c = Convert({"DDDDDY", "LLLLLY"}, options);
  EXPECT_EQ(c.status, Status::kOk);
  EXPECT_EQ(c.console, "2x6\n");
  EXPECT_EQ(c.lines,
            (std::vector<std::string>{"s_000", "\tdb\t2\t;high",
                                      "\tdb\t0\t;len", "\tdb\t", "\tdb\t"}));

  c = Convert({"DEEEEEEEEEEEEEELYYYY", "EEEEEEEEEEEEEEEEYYYY"}, options);
  EXPECT_EQ(c.status, Status::kOk);
  EXPECT_EQ(c.console, "2x20\n");
  EXPECT_EQ(c.lines, (std::vector<std::string>{
                         "s_000", "\tdb\t2\t;high", "\tdb\t2\t;len",
                         "\tdb\t#01,#80,#80,#00", "\tdb\t#00,#00,#00,#00"}));

  // With it the sprite's width passes the sheet's edge; the columns beyond
  // count as empty.
  options.cutRight = true;
  c = Convert({"DDDDDL", "EEEEEE"}, options);
  EXPECT_EQ(c.console, "2x8\n");
  EXPECT_EQ(c.lines, (std::vector<std::string>{"s_000", "\tdb\t2\t;high",
                                               "\tdb\t1\t;len", "\tdb\t#3F,#F8",
                                               "\tdb\t#00,#00"}));
}

TEST(SpriteWriter, WrongColourDropsTheRowBeingBuilt) {
  Converted c = Convert({"DEEEEEEEEEEEEEEE", "EEEEEEEEEEYEEEEE",
                         "MEEEEEEEEEEEEEEE", "EEEEEEEEEEEEEEEE"},
                        RunOptions());
  EXPECT_EQ(c.status, Status::kWrongColour);
  EXPECT_EQ(c.console, "2x16\nwrong color FFFF at 10,1\n");
  EXPECT_EQ(c.unread_input, "after\n");  // waited for one Enter
  EXPECT_EQ(c.lines,
            (std::vector<std::string>{"s_000", "\tdb\t#01,#80,#00,#00"}));
}

TEST(SpriteWriter, MarkerRowIsNeverEncoded) {
  Converted c = Convert({"MYYYYYYY", "DYYYYYYY"}, RunOptions());
  EXPECT_EQ(c.status, Status::kWrongColour);
  EXPECT_EQ(c.console, "0x8\n1x8\nwrong color FFFF at 1,1\n");
  EXPECT_EQ(c.lines, (std::vector<std::string>{"s_000", "s_001"}));
}

TEST(SpriteWriter, ImageThatFailedToLoadWritesNothing) {
  common::RunContext context;
  context.setName = "gone";
  std::string text;
  common::OutputFile output;
  output.CaptureTo(&text);
  std::istringstream in;
  std::ostringstream out;
  common::Console console(in, out);
  context.output = &output;
  context.console = &console;
  context.options.cutRight = true;
  context.options.cutUp = true;
  EXPECT_EQ(ConvertSprites(context), Status::kOk);
  output.Close();
  EXPECT_EQ(text, "");
  EXPECT_EQ(out.str(), "");
}

}  // namespace
}  // namespace sprites
