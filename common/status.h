// Outcomes of the steps of a run. Failures are plain return values, never
// exceptions; only the run sequence turns a status into an exit status.
#ifndef COMMON_STATUS_H_
#define COMMON_STATUS_H_

namespace common {

enum class Status {
  kOk,
  kWrongParameter,   // a flag the command line does not know
  kColourError,      // a character cell with more than two colours
  kWrongColour,      // a sprite pixel that fits no class
  kLoadFailed,       // no image: missing, unreadable, not a PNG, refused
  kDamagedData,      // good header, image data broken: partly decoded
  kCreateFailed,     // the output file could not be created
  kWriteFailed,      // the file system refused a write to the output file
  kWindowFailed,     // the drop window could not be shown
  kWindowClosed,     // the user closed the drop window without a drop
};

// 0 for a completed conversion (and a drop window closed by the user),
// 2 for a wrong command-line parameter, 1 for every other failure.
int ExitStatusFor(Status status);

}  // namespace common

#endif  // COMMON_STATUS_H_
