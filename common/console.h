// The program's text channel to the user: console lines out, one line in for
// "wait for Enter". Works on any pair of streams; the program uses the
// terminal's, tests and the fuzzer use string streams.
#ifndef COMMON_CONSOLE_H_
#define COMMON_CONSOLE_H_

#include <istream>
#include <ostream>
#include <string_view>

namespace common {

class Console {
 public:
  // The streams are borrowed and must outlive the console.
  Console(std::istream& in, std::ostream& out) : in_(in), out_(out) {}

  // Writes the text and a line end, and flushes so that it shows at once.
  void Line(std::string_view text);

  // Reads one line and discards it; the end of input counts as Enter.
  void WaitForEnter();

 private:
  std::istream& in_;
  std::ostream& out_;
};

}  // namespace common

#endif  // COMMON_CONSOLE_H_
