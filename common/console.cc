#include "common/console.h"

#include <string>

namespace common {

void Console::Line(std::string_view text) {
  out_.write(text.data(), static_cast<std::streamsize>(text.size()));
  out_.put('\n');
  out_.flush();
}

void Console::WaitForEnter() {
  std::string discarded;
  std::getline(in_, discarded);
}

}  // namespace common
