// The command-line front: the splitter for platforms that hand the program
// one text, the argv list for those that hand it split, and the flag parser.
#ifndef COMMON_COMMAND_LINE_H_
#define COMMON_COMMAND_LINE_H_

#include <string>
#include <string_view>
#include <vector>

#include "common/run_options.h"
#include "common/status.h"

namespace common {

// Cuts a whole command line into parameters: spaces separate, a double quote
// opens a parameter that runs to the next double quote (or the end), nothing
// escapes. The first parameter, the program's own path, is dropped.
std::vector<std::string> SplitCommandLine(std::string_view line);

// The parameters after the program's own path in argv.
std::vector<std::string> ArgvParameters(int argc, char** argv);

// Sets the option the flag names ("/HIGH", "/LENGTH", "/CUTUP", "/CUTRIGHT",
// "/ANDOR", in any case) and returns kOk, or returns kWrongParameter and
// leaves *options alone.
Status ParseFlag(std::string_view parameter, RunOptions* options);

}  // namespace common

#endif  // COMMON_COMMAND_LINE_H_
