// Glyphwright: sprite sheet PNG in, assembler source of mask and graphic
// byte pairs out.
#include <iostream>

#include "common/command_line.h"
#include "common/drop_window.h"
#include "common/platform.h"
#include "common/run.h"
#include "sprites/sprite_conversion.h"

int main(int argc, char** argv) {
  const common::Program program = {
      ".a80", ";spriteset: ", common::DropVariant::kSprites,
      "Usage: glyphwright filename.png [/HIGH] [/LENGTH] [/CUTUP] "
      "[/CUTRIGHT] [/ANDOR]",
      sprites::ConvertSprites};
  common::InstallStopSignals();
  common::Console console(std::cin, std::cout);
  return common::RunProgram(program, common::ArgvParameters(argc, argv),
                            console, common::ShowDropWindow);
}
