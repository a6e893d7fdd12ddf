#include "sprites/sprite_writer.h"

#include "common/text_format.h"
#include "sprites/byte_column.h"

namespace sprites {

using common::Decimal;
using common::Status;

namespace {

constexpr char kLineStart[] = "\tdb\t";  // of the height and length lines

void ReportWrongColour(common::Colour colour, int x, int y,
                       common::Console* console) {
  console->Line("wrong color " + common::Hexadecimal(colour) + " at " +
                Decimal(x) + "," + Decimal(y));
  console->WaitForEnter();
}

}  // namespace

void AppendLabel(std::string* line, std::string_view set_name, int index) {
  line->append(set_name);
  line->push_back('_');
  std::string digits = Decimal(index);
  line->append(index < 1000 ? common::RightAligned(digits, 3, "0") : digits);
}

std::string SizeLine(const SpriteExtent& extent) {
  return Decimal(extent.height) + "x" + Decimal(extent.width);
}

Status WriteSprite(const common::Image& image, const SpriteExtent& extent,
                   const common::RunOptions& options, std::string_view set_name,
                   common::OutputFile* output, common::Console* console,
                   common::DataLine* line) {
  std::string label;
  AppendLabel(&label, set_name, extent.index);
  output->WriteLine(label);
  if (options.high) {
    output->WriteLine(kLineStart + Decimal(extent.outputRows()) + "\t;high");
  }
  if (options.length) {
    output->WriteLine(kLineStart + Decimal(extent.byteColumns()) + "\t;len");
  }

  const int byte_columns = extent.byteColumns();
  for (int r = extent.firstOutputRow; r < extent.height; ++r) {
    const int y = extent.top + r;
    line->Start();
    for (int k = 0; k < byte_columns; ++k) {
      BytePair pair;
      int wrong_x;
      if (!EncodeByteColumn(image, k * kPixelsPerByte, y, options.andOr,
                            &pair, &wrong_x)) {
        ReportWrongColour(image.PixelColour(wrong_x, y), wrong_x, y,
                          console);
        return Status::kWrongColour;
      }
      line->Add(pair.mask);
      line->Add(pair.graphic);
    }
    output->WriteLine(line->Text());
  }
  return Status::kOk;
}

}  // namespace sprites
