// The sprite converter: every sprite of the sheet, top down, gets its size
// line on the console and its block in the output file before the next one
// is scanned.
#ifndef SPRITES_SPRITE_CONVERSION_H_
#define SPRITES_SPRITE_CONVERSION_H_

#include "common/run.h"

namespace sprites {

// kOk after the last sprite's block (at once for an image without pixels);
// kWrongColour after the report for the first pixel of no class (and the
// wait for Enter), with every line before it written. Reads the image, set
// name and options of the context and writes to its output file and console.
common::Status ConvertSprites(common::RunContext& context);

}  // namespace sprites

#endif  // SPRITES_SPRITE_CONVERSION_H_
