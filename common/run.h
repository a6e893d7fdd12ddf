// The run sequence both programs share: options in, set name and output
// path derived, image loaded, output file created with its header, the
// program's converter run, everything closed in a fixed order.
#ifndef COMMON_RUN_H_
#define COMMON_RUN_H_

#include <string>
#include <string_view>
#include <vector>

#include "common/console.h"
#include "common/image.h"
#include "common/output_file.h"
#include "common/run_options.h"
#include "common/status.h"

namespace common {

// The record of one run. Owned by the run sequence; the converter borrows
// it for the conversion and opens or closes none of its parts.
struct RunContext {
  std::string inputPath;
  RunOptions options;
  std::string setName;
  std::string outputPath;
  Image image;             // open for pixel reading during the conversion
  OutputFile* output;      // header lines written
  Console* console;
};

// A converter returns kOk after its last line, or the status of the error
// it reported on the console (after waiting for Enter), which stops the run.
using Converter = Status (*)(RunContext& context);

enum class DropVariant { kTiles, kSprites };

// Shows the program's drop window and waits. kOk with *input_path (and, for
// the sprite variant, *options) filled after a drop; kWindowClosed when the
// user closed it; kWindowFailed, after a console line, when it cannot be
// shown.
using DropFront = Status (*)(DropVariant variant, Console& console,
                             std::string* input_path, RunOptions* options);

// What tells the two programs apart.
struct Program {
  const char* outputExtension;  // ".inc" or ".a80"
  const char* headerPrefix;     // ";tileset: " or ";spriteset: "
  DropVariant dropVariant;
  const char* usage;            // shown when there is no drop window
  Converter convert;
};

// The set name: the path without its last four characters, then without
// everything up to its last "\" or "/".
std::string SetNameFor(std::string_view input_path);

// Runs one conversion and returns the exit status. parameters are those
// after the program's own path; none means drop mode, which needs a drop
// front (without one the usage line is shown and 2 returned).
int RunProgram(const Program& program,
               const std::vector<std::string>& parameters, Console& console,
               DropFront drop_front);

}  // namespace common

#endif  // COMMON_RUN_H_
