#include "common/command_line.h"

#include <gtest/gtest.h>

namespace common {
namespace {

using Params = std::vector<std::string>;

TEST(SplitCommandLine, Cases) {
  const struct {
    const char* line;
    Params parameters;
  } kCases[] = {
      {"prog", {}},
      {"", {}},
      {"prog a.png /HIGH", {"a.png", "/HIGH"}},
      {"prog my sheet.png /HIGH", {"my", "sheet.png", "/HIGH"}},
      {"prog   a.png   ", {"a.png"}},
      {"prog a\tb", {"a\tb"}},
      {"prog \"a b\"c", {"a b", "c"}},
      {"prog \"my sheet.png\"/HIGH", {"my sheet.png", "/HIGH"}},
      {"prog \"\" x", {"", "x"}},
      {"prog x \"", {"x", ""}},
      {"prog \"open ended", {"open ended"}},
      {"prog a\"b\"c", {"a\"b\"c"}},
      {"prog C:\\gfx\\a.png", {"C:\\gfx\\a.png"}},
      {"prog \" /HIGH\"", {" /HIGH"}},
      {"\"C:\\Program Files\\p.exe\" a", {"a"}},
      {"prog \"\"\"\"", {"", ""}},
  };
  for (const auto& c : kCases) {
    EXPECT_EQ(SplitCommandLine(c.line), c.parameters) << c.line;
  }
}

TEST(ParseFlag, KnownFlagsInAnyCase) {
  const struct {
    const char* flag;
    bool RunOptions::*field;
  } kCases[] = {
      {"/HIGH", &RunOptions::high},       {"/high", &RunOptions::high},
      {"/High", &RunOptions::high},       {"/length", &RunOptions::length},
      {"/CutUp", &RunOptions::cutUp},     {"/cutright", &RunOptions::cutRight},
      {"/AndOr", &RunOptions::andOr},
  };
  for (const auto& c : kCases) {
    RunOptions options;
    ASSERT_EQ(ParseFlag(c.flag, &options), Status::kOk) << c.flag;
    EXPECT_TRUE(options.*c.field) << c.flag;
    int set = options.high + options.length + options.cutUp +
              options.cutRight + options.andOr;
    EXPECT_EQ(set, 1) << c.flag;
  }
}

TEST(ParseFlag, WrongParameters) {
  for (const char* wrong :
       {"/height", "/cut-up", "-HIGH", "HIGH", "", " /HIGH", "/HIGH ",
        "/CUTUPX", "/CUT", "/ANDOR/HIGH"}) {
    RunOptions options;
    EXPECT_EQ(ParseFlag(wrong, &options), Status::kWrongParameter) << wrong;
    EXPECT_FALSE(options.high || options.length || options.cutUp ||
                 options.cutRight || options.andOr);
  }
}

TEST(ParseFlag, TwiceStaysSet) {
  RunOptions options;
  EXPECT_EQ(ParseFlag("/ANDOR", &options), Status::kOk);
  EXPECT_EQ(ParseFlag("/andor", &options), Status::kOk);
  EXPECT_TRUE(options.andOr);
}

}  // namespace
}  // namespace common
