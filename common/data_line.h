// One data line of the output: "\tdb\t" and comma-separated byte texts,
// built in place, since converters build lines by the thousand and nothing
// should grow byte text by byte text.
#ifndef COMMON_DATA_LINE_H_
#define COMMON_DATA_LINE_H_

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "common/text_format.h"

namespace common {

class DataLine {
 public:
  // Room for most_bytes byte texts between two Starts.
  explicit DataLine(size_t most_bytes)
      : text_(kStartLength + 4 * most_bytes, '\0') {
    std::memcpy(&text_[0], kStart, kStartLength);
    Start();
  }
  DataLine(const DataLine&) = delete;
  DataLine& operator=(const DataLine&) = delete;

  // Begins a new line with no byte text yet.
  void Start() { end_ = &text_[0] + kStartLength; }

  void Add(uint8_t value) { end_ = PutByteTextAndComma(end_, value); }

  // The line without the comma behind its last byte text; "\tdb\t" alone
  // when it holds none. Valid until the next Start or Add.
  std::string_view Text() const {
    size_t length = static_cast<size_t>(end_ - text_.data());
    if (length > kStartLength) --length;
    return std::string_view(text_.data(), length);
  }

 private:
  static constexpr char kStart[] = "\tdb\t";
  static constexpr size_t kStartLength = sizeof(kStart) - 1;

  std::string text_;
  char* end_;
};

}  // namespace common

#endif  // COMMON_DATA_LINE_H_
