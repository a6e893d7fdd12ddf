// The drop front of drop mode: the program's small window with its help
// texts (and, for the sprite converter, the option boxes), which waits for
// a file list dragged from the desktop.
#ifndef COMMON_DROP_WINDOW_H_
#define COMMON_DROP_WINDOW_H_

#include <string>

#include "common/console.h"
#include "common/run.h"
#include "common/run_options.h"
#include "common/status.h"

namespace common {

// Shows the variant's window and blocks until it ends (a DropFront):
// - kOk: files were dropped; *input_path is the first of them and, in the
//   sprite variant, *options holds the ticked boxes; the window is gone.
// - kWindowClosed: the user closed the window; nothing was written.
// - kWindowFailed: the window could not be shown (no display, or the
//   display failed while it was up); one console line says so and names the
//   command line to use instead. *options stays untouched.
// Other dragged data is refused at the source and the window keeps waiting.
// Runs once per process: it uses the process's one display connection.
Status ShowDropWindow(DropVariant variant, Console& console,
                      std::string* input_path, RunOptions* options);

}  // namespace common

#endif  // COMMON_DROP_WINDOW_H_
