#include "common/status.h"

namespace common {

int ExitStatusFor(Status status) {
  switch (status) {
    case Status::kOk:
    case Status::kWindowClosed:
      return 0;
    case Status::kWrongParameter:
      return 2;
    default:
      return 1;
  }
}

}  // namespace common
