// Cellhew: tile sheet PNG in, include file of db lines out.
#include <iostream>

#include "common/command_line.h"
#include "common/drop_window.h"
#include "common/platform.h"
#include "common/run.h"
#include "tiles/tile_conversion.h"

int main(int argc, char** argv) {
  const common::Program program = {
      ".inc", ";tileset: ", common::DropVariant::kTiles,
      "Usage: cellhew filename.png [/HIGH] [/LENGTH] [/CUTUP] [/CUTRIGHT] "
      "[/ANDOR]",
      tiles::ConvertTiles};
  common::InstallStopSignals();
  common::Console console(std::cin, std::cout);
  return common::RunProgram(program, common::ArgvParameters(argc, argv),
                            console, common::ShowDropWindow);
}
