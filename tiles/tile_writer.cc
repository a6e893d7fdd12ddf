#include "tiles/tile_writer.h"

#include <string>

#include "common/text_format.h"

namespace tiles {

using common::AppendByteText;

namespace {

constexpr char kLineStart[] = "\tdb\t";

// Appends the left and right pixel bytes of pixel row y.
void AppendRowPair(const CellTables& tables, int left_cx, int y,
                   std::string* line) {
  AppendByteText(line, tables.PixelByte(left_cx, y));
  line->push_back(',');
  AppendByteText(line, tables.PixelByte(left_cx + 1, y));
}

}  // namespace

void WriteTiles(const CellTables& tables, int tiles_across, int tiles_down,
                common::OutputFile* output) {
  std::string line;
  line.reserve(64);
  for (int ty = 0; ty < tiles_down; ++ty) {
    int top = 16 * ty;
    for (int tx = 0; tx < tiles_across; ++tx) {
      int left = 2 * tx;
      line.assign(kLineStart);
      for (int r = 0; r < 8; ++r) {
        if (r > 0) line.push_back(',');
        AppendRowPair(tables, left, top + r, &line);
      }
      output->WriteLine(line);

      line.assign(kLineStart);
      for (int r = 15; r >= 8; --r) {
        if (r < 15) line.push_back(',');
        AppendRowPair(tables, left, top + r, &line);
      }
      output->WriteLine(line);

      line.assign(kLineStart);
      int cy = 2 * ty;
      AppendByteText(&line, tables.Attribute(left, cy + 1));
      line.push_back(',');
      AppendByteText(&line, tables.Attribute(left + 1, cy + 1));
      line.push_back(',');
      AppendByteText(&line, tables.Attribute(left, cy));
      line.push_back(',');
      AppendByteText(&line, tables.Attribute(left + 1, cy));
      output->WriteLine(line);
    }
  }
}

}  // namespace tiles
