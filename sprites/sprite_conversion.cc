#include "sprites/sprite_conversion.h"

#include "sprites/byte_column.h"
#include "sprites/sprite_scanner.h"
#include "sprites/sprite_writer.h"

namespace sprites {

common::Status ConvertSprites(common::RunContext& context) {
  const common::Image& image = context.image;
  const common::RunOptions& options = context.options;
  SpriteScanner scanner(image, options.cutRight, options.cutUp);
  // Room for the widest data line: a trimmed width rounds the sheet's width
  // up to a whole byte column, of two byte texts each.
  common::DataLine line(
      2 * static_cast<size_t>((image.width() + kPixelsPerByte - 1) /
                              kPixelsPerByte));
  SpriteExtent extent;
  while (scanner.Next(&extent)) {
    context.console->Line(SizeLine(extent));
    common::Status written =
        WriteSprite(image, extent, options, context.setName, context.output,
                    context.console, &line);
    if (written != common::Status::kOk) return written;
  }
  return common::Status::kOk;
}

}  // namespace sprites
