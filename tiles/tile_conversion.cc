#include "tiles/tile_conversion.h"

#include "common/text_format.h"
#include "tiles/cell_analysis.h"
#include "tiles/cell_encoder.h"
#include "tiles/tile_writer.h"

namespace tiles {

using common::Decimal;
using common::Hexadecimal;
using common::Status;

namespace {

void ReportColourError(int cx, int cy, const CellColours& colours,
                       common::Console* console) {
  console->Line("Detected more then 2 colors per char at: " + Decimal(cy) +
                "," + Decimal(cx));
  console->Line("colors " + Decimal(colours.n));
  for (int k = 0; k < colours.n; ++k) {
    console->Line(Decimal(k) + " " + Hexadecimal(colours.entries[k].colour) +
                  " " + Decimal(colours.entries[k].count));
  }
  console->WaitForEnter();
}

}  // namespace

Status ConvertTiles(common::RunContext& context) {
  const common::Image& image = context.image;
  int cells_across = image.width() / kCellSide;
  int cells_down = image.height() / kCellSide;
  CellTables tables(cells_across, cells_down);
  CellPixels pixels;
  CellColours colours;
  ColourPair pair;
  for (int cy = 0; cy < cells_down; ++cy) {
    for (int cx = 0; cx < cells_across; ++cx) {
      ReadCellPixels(image, cx, cy, &pixels);
      if (!AnalyseCell(pixels, &colours, &pair)) {
        ReportColourError(cx, cy, colours, context.console);
        return Status::kColourError;
      }
      EncodeCell(cx, cy, pixels, pair, &tables);
    }
  }
  WriteTiles(tables, cells_across / 2, cells_down / 2, context.output);
  return Status::kOk;
}

}  // namespace tiles
