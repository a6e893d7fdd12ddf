// The sprite data writer: one sprite's block of lines in the output file (a
// label line, optional height and length lines, one data line per written
// row), and the wrong-colour report when a pixel fits no class.
#ifndef SPRITES_SPRITE_WRITER_H_
#define SPRITES_SPRITE_WRITER_H_

#include <string>
#include <string_view>

#include "common/console.h"
#include "common/image.h"
#include "common/output_file.h"
#include "common/run_options.h"
#include "common/status.h"
#include "common/data_line.h"
#include "sprites/sprite_scanner.h"

namespace sprites {

// Appends the set name, "_" and the index: three zero-filled digits below
// 1000, every digit from 1000 on, so that labels stay distinct.
void AppendLabel(std::string* line, std::string_view set_name, int index);

// The console line naming a sprite's height (before the top trim) and
// width: "16x24".
std::string SizeLine(const SpriteExtent& extent);

// Writes the sprite's block. A data line is written only once complete: at
// a pixel of no class the row being built is dropped, the report goes to the
// console followed by a wait for Enter, and kWrongColour is returned.
// *line is scratch space, reused from call to call, with room for two byte
// texts a byte column.
common::Status WriteSprite(const common::Image& image,
                           const SpriteExtent& extent,
                           const common::RunOptions& options,
                           std::string_view set_name,
                           common::OutputFile* output, common::Console* console,
                           common::DataLine* line);

}  // namespace sprites

#endif  // SPRITES_SPRITE_WRITER_H_
