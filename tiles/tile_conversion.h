// The tile converter: the cell pass over every character cell, the colour
// error report, then the writing pass.
#ifndef TILES_TILE_CONVERSION_H_
#define TILES_TILE_CONVERSION_H_

#include "common/run.h"

namespace tiles {

// kOk after the last tile block; kColourError after the report for the
// first cell of more than two colours (and the wait for Enter), with no data
// line written. Reads the image, output file and console of the context.
common::Status ConvertTiles(common::RunContext& context);

}  // namespace tiles

#endif  // TILES_TILE_CONVERSION_H_
