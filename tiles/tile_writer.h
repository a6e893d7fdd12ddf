// The writing pass: one block of three db lines per 16 x 16 tile, read from
// the cell tables once every cell has been encoded.
#ifndef TILES_TILE_WRITER_H_
#define TILES_TILE_WRITER_H_

#include "common/output_file.h"
#include "tiles/cell_encoder.h"

namespace tiles {

void WriteTiles(const CellTables& tables, int tiles_across, int tiles_down,
                common::OutputFile* output);

}  // namespace tiles

#endif  // TILES_TILE_WRITER_H_
