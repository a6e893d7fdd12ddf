#include "common/text_format.h"

namespace common {

std::string Decimal(int64_t n) {
  // Work on the unsigned magnitude so that the most negative value has one.
  uint64_t magnitude = n < 0 ? 0 - static_cast<uint64_t>(n)
                             : static_cast<uint64_t>(n);
  char digits[24];
  int i = sizeof(digits);
  do {
    digits[--i] = static_cast<char>('0' + magnitude % 10);
    magnitude /= 10;
  } while (magnitude != 0);
  if (n < 0) digits[--i] = '-';
  return std::string(digits + i, sizeof(digits) - i);
}

std::string Hexadecimal(int64_t n) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  uint64_t bits = static_cast<uint64_t>(n);
  std::string text;
  for (int shift = 60; shift >= 0; shift -= 4) {
    int group = static_cast<int>((bits >> shift) & 15);
    if (group == 0 && text.empty() && shift != 0) continue;
    text.push_back(kDigits[group]);
  }
  return text;
}

std::string RightAligned(std::string_view text, int width,
                         std::string_view pad) {
  size_t w = width < 0 ? 0 : static_cast<size_t>(width);
  if (text.size() >= w) return std::string(text.substr(0, w));
  char fill = pad.empty() ? ' ' : pad[0];
  std::string result(w - text.size(), fill);
  result.append(text);
  return result;
}

std::string TrailingTrim(std::string_view text, std::string_view pad) {
  char trim = pad.empty() ? ' ' : pad[0];
  size_t end = text.size();
  while (end > 0 && text[end - 1] == trim) --end;
  return std::string(text.substr(0, end));
}

std::string UpperCased(std::string_view text) {
  std::string result(text);
  for (char& c : result) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return result;
}

namespace {

bool TokenAt(std::string_view mask, size_t pos, std::string_view token) {
  if (mask.size() - pos < token.size()) return false;
  for (size_t i = 0; i < token.size(); ++i) {
    char c = mask[pos + i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c != token[i]) return false;
  }
  return true;
}

}  // namespace

std::string DateTimeText(std::string_view mask, const Moment& moment) {
  struct Field {
    std::string_view token;
    int width;
    int value;
  };
  // Tried in this order, so "yyyy" wins over "yy".
  const Field fields[] = {
      {"yyyy", 4, moment.year},  {"yy", 2, moment.year % 100},
      {"mm", 2, moment.month},   {"dd", 2, moment.day},
      {"hh", 2, moment.hour},    {"ii", 2, moment.minute},
      {"ss", 2, moment.second},
  };
  std::string out;
  size_t i = 0;
  while (i < mask.size()) {
    if (mask[i] != '%') {
      out.push_back(mask[i++]);
      continue;
    }
    ++i;
    bool matched = false;
    for (const Field& field : fields) {
      if (TokenAt(mask, i, field.token)) {
        out.append(RightAligned(Decimal(field.value), field.width, "0"));
        i += field.token.size();
        matched = true;
        break;
      }
    }
    if (!matched) out.push_back('%');
  }
  return out;
}

}  // namespace common
