// The five run options, set by the flags or by the sprite window's boxes.
// Only the sprite converter reads them.
#ifndef COMMON_RUN_OPTIONS_H_
#define COMMON_RUN_OPTIONS_H_

namespace common {

struct RunOptions {
  bool high = false;
  bool length = false;
  bool cutUp = false;
  bool cutRight = false;
  bool andOr = false;
};

}  // namespace common

#endif  // COMMON_RUN_OPTIONS_H_
