#include "common/text_format.h"

#include <gtest/gtest.h>

#include <climits>

namespace common {
namespace {

TEST(TextFormat, Decimal) {
  const struct {
    int64_t n;
    const char* text;
  } kCases[] = {{0, "0"},
                {-5, "-5"},
                {2147483647, "2147483647"},
                {-2147483648LL, "-2147483648"},
                {INT64_MIN, "-9223372036854775808"}};
  for (const auto& c : kCases) EXPECT_EQ(Decimal(c.n), c.text) << c.n;
}

TEST(TextFormat, Hexadecimal) {
  const struct {
    int64_t n;
    const char* text;
  } kCases[] = {{0, "0"},
                {15, "F"},
                {255, "FF"},
                {65535, "FFFF"},
                {0xFF0000, "FF0000"},
                {-1, "FFFFFFFFFFFFFFFF"},
                {-2, "FFFFFFFFFFFFFFFE"}};
  for (const auto& c : kCases) EXPECT_EQ(Hexadecimal(c.n), c.text) << c.n;
}

TEST(TextFormat, RightAligned) {
  const struct {
    const char* text;
    int width;
    const char* pad;
    const char* result;
  } kCases[] = {
      {"F", 2, "0", "0F"},     {"AB", 2, "0", "AB"},   {"1FF", 2, "0", "1F"},
      {"7", 3, "0", "007"},    {"1000", 3, "0", "100"}, {"A", 2, "0", "0A"},
      {"12C", 2, "0", "12"},   {"x", -3, "0", ""},     {"x", 3, "", "  x"},
      {"", 2, "0z", "00"},
  };
  for (const auto& c : kCases) {
    EXPECT_EQ(RightAligned(c.text, c.width, c.pad), c.result)
        << c.text << " " << c.width;
  }
  EXPECT_EQ(RightAligned(Hexadecimal(-2), 2, "0"), "FF");
}

TEST(TextFormat, TrailingTrimAndUpperCase) {
  EXPECT_EQ(TrailingTrim("#01,#02,", ","), "#01,#02");
  EXPECT_EQ(TrailingTrim(",,,", ","), "");
  EXPECT_EQ(TrailingTrim("a,b", ","), "a,b");
  EXPECT_EQ(TrailingTrim("ab  "), "ab");
  EXPECT_EQ(UpperCased("/cutRight az{}\xe9"), "/CUTRIGHT AZ{}\xe9");
}

TEST(TextFormat, DateTimeText) {
  const Moment moment{2021, 7, 2, 17, 5, 9};
  const struct {
    const char* mask;
    const char* text;
  } kCases[] = {
      {"%yyyy/%mm/%dd", "2021/07/02"}, {"%hh:%ii:%ss", "17:05:09"},
      {"%YY", "21"},                   {"100%", "100%"},
      {"%x", "%x"},                    {"%%MM", "%07"},
      {"%y", "%y"},                    {"", ""},
  };
  for (const auto& c : kCases) {
    EXPECT_EQ(DateTimeText(c.mask, moment), c.text) << c.mask;
  }
}

TEST(TextFormat, ByteTextMatchesTwoDigitField) {
  for (int v = 0; v < 256; ++v) {
    char with_comma[4];
    EXPECT_EQ(PutByteTextAndComma(with_comma, static_cast<uint8_t>(v)),
              with_comma + 4);
    std::string text(with_comma, 3);
    EXPECT_EQ(text, "#" + RightAligned(Hexadecimal(v), 2, "0"));
    EXPECT_EQ(std::string(with_comma, 4), text + ",");
  }
}

}  // namespace
}  // namespace common
