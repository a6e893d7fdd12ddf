#include "tiles/tile_writer.h"

#include "common/data_line.h"

namespace tiles {

using common::DataLine;

namespace {

// A tile's lines hold sixteen byte texts at the most.
constexpr int kMostBytesPerLine = 16;

// Adds the left and right pixel bytes of pixel row y.
void AddRowPair(const CellTables& tables, int left_cx, int y, DataLine* line) {
  line->Add(tables.PixelByte(left_cx, y));
  line->Add(tables.PixelByte(left_cx + 1, y));
}

}  // namespace

void WriteTiles(const CellTables& tables, int tiles_across, int tiles_down,
                common::OutputFile* output) {
  DataLine line(kMostBytesPerLine);
  for (int ty = 0; ty < tiles_down; ++ty) {
    int top = 16 * ty;
    for (int tx = 0; tx < tiles_across; ++tx) {
      int left = 2 * tx;
      line.Start();
      for (int r = 0; r < 8; ++r) AddRowPair(tables, left, top + r, &line);
      output->WriteLine(line.Text());

      line.Start();
      for (int r = 15; r >= 8; --r) AddRowPair(tables, left, top + r, &line);
      output->WriteLine(line.Text());

      line.Start();
      int cy = 2 * ty;
      line.Add(tables.Attribute(left, cy + 1));
      line.Add(tables.Attribute(left + 1, cy + 1));
      line.Add(tables.Attribute(left, cy));
      line.Add(tables.Attribute(left + 1, cy));
      output->WriteLine(line.Text());
    }
  }
}

}  // namespace tiles
