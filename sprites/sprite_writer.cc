#include "sprites/sprite_writer.h"

#include "common/text_format.h"
#include "sprites/byte_column.h"

namespace sprites {

using common::Decimal;
using common::Status;

namespace {

constexpr char kLineStart[] = "\tdb\t";

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
                   std::string* line) {
  line->clear();
  AppendLabel(line, set_name, extent.index);
  output->WriteLine(*line);
  if (options.high) {
    output->WriteLine(kLineStart + Decimal(extent.outputRows()) + "\t;high");
  }
  if (options.length) {
    output->WriteLine(kLineStart + Decimal(extent.byteColumns()) + "\t;len");
  }

  const int byte_columns = extent.byteColumns();
  // A row's byte pairs are written into the line in place, eight characters
  // ("#MM,#GG,") a byte column, and the line is handed over without the
  // comma behind its last pair.
  const size_t start = sizeof(kLineStart) - 1;
  line->assign(kLineStart);
  line->resize(start + 8 * static_cast<size_t>(byte_columns));
  for (int r = extent.firstOutputRow; r < extent.height; ++r) {
    const int y = extent.top + r;
    char* out = &(*line)[start];
    for (int k = 0; k < byte_columns; ++k) {
      BytePair pair;
      int wrong_x;
      if (!EncodeByteColumn(image, k * kPixelsPerByte, y, options.andOr,
                            &pair, &wrong_x)) {
        ReportWrongColour(image.PixelColour(wrong_x, y), wrong_x, y,
                          console);
        return Status::kWrongColour;
      }
      out = common::PutByteText(out, pair.mask);
      *out++ = ',';
      out = common::PutByteText(out, pair.graphic);
      *out++ = ',';
    }
    size_t length = static_cast<size_t>(out - line->data());
    if (byte_columns > 0) --length;
    output->WriteLine(std::string_view(line->data(), length));
  }
  return Status::kOk;
}

}  // namespace sprites
