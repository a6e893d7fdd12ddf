// The small text formats from which output and console lines are built:
// numbers, fields, trims, upper-casing and the header's date and time.
#ifndef COMMON_TEXT_FORMAT_H_
#define COMMON_TEXT_FORMAT_H_

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace common {

// A local date and time of day to the second.
struct Moment {
  int year;
  int month;   // 1-12
  int day;     // 1-31
  int hour;    // 0-23
  int minute;  // 0-59
  int second;  // 0-59
};

// Digits without leading zeros, a minus sign for negative values; 0 is "0".
std::string Decimal(int64_t n);

// Upper-case digits without leading zeros over all 64 bits, so -1 is
// sixteen F; 0 is "0".
std::string Hexadecimal(int64_t n);

// Exactly width characters: the text padded on the left with pad's first
// character (space when pad is empty), or its first width characters when
// it is too long. A negative width counts as 0.
std::string RightAligned(std::string_view text, int width,
                         std::string_view pad = " ");

// The text without its trailing run of pad's first character (space when
// pad is empty).
std::string TrailingTrim(std::string_view text, std::string_view pad = " ");

// a to z become A to Z; every other byte stays.
std::string UpperCased(std::string_view text);

// Replaces the tokens %yyyy %yy %mm %dd %hh %ii %ss (any case) with the
// moment's fields; every other character, and a % that starts no token, is
// copied.
std::string DateTimeText(std::string_view mask, const Moment& moment);

// The byte text of every byte, "#" and two upper-case hexadecimal digits,
// each followed by the comma that separates it from the next in a data line:
// one 4-byte copy a byte instead of building it digit by digit.
struct ByteTexts {
  char of[256][4];
};
constexpr ByteTexts MakeByteTexts() {
  constexpr char kDigits[] = "0123456789ABCDEF";
  ByteTexts table{};
  for (int v = 0; v < 256; ++v) {
    table.of[v][0] = '#';
    table.of[v][1] = kDigits[v >> 4];
    table.of[v][2] = kDigits[v & 15];
    table.of[v][3] = ',';
  }
  return table;
}
inline constexpr ByteTexts kByteTexts = MakeByteTexts();

// Writes the byte text and a comma at out and returns the position behind.
inline char* PutByteTextAndComma(char* out, uint8_t value) {
  std::memcpy(out, kByteTexts.of[value], 4);
  return out + 4;
}

}  // namespace common

#endif  // COMMON_TEXT_FORMAT_H_
