#include "tiles/tile_writer.h"

#include <cstring>
#include <string_view>

#include "common/text_format.h"

namespace tiles {

namespace {

constexpr char kLineStart[] = "\tdb\t";
constexpr size_t kLineStartLength = sizeof(kLineStart) - 1;
constexpr int kMostBytesPerLine = 16;

// One data line built in a fixed array: a sheet has many tiles with short
// lines, so no string is grown byte text by byte text.
class DataLine {
 public:
  DataLine() { std::memcpy(text_, kLineStart, kLineStartLength); }

  void Start() { end_ = text_ + kLineStartLength; }
  // At most kMostBytesPerLine bytes between two Starts.
  void Add(uint8_t value) {
    end_ = common::PutByteText(end_, value);
    *end_++ = ',';
  }
  // The line without the comma behind its last byte text.
  std::string_view Text() const {
    return std::string_view(text_, static_cast<size_t>(end_ - text_) - 1);
  }

 private:
  char text_[kLineStartLength + 4 * kMostBytesPerLine];
  char* end_ = text_;
};

// Adds the left and right pixel bytes of pixel row y.
void AddRowPair(const CellTables& tables, int left_cx, int y, DataLine* line) {
  line->Add(tables.PixelByte(left_cx, y));
  line->Add(tables.PixelByte(left_cx + 1, y));
}

}  // namespace

void WriteTiles(const CellTables& tables, int tiles_across, int tiles_down,
                common::OutputFile* output) {
  DataLine line;
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
