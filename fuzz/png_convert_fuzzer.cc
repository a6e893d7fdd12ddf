// Arbitrary bytes through the in-memory loader and both converters, with the
// console and the output file in memory. The last input byte picks the run
// options: the decoder never looks past the image data, so that byte is
// free for the mutator to vary.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "common/console.h"
#include "common/output_file.h"
#include "common/png_decoder.h"
#include "common/run.h"
#include "sprites/sprite_conversion.h"
#include "tiles/tile_conversion.h"

namespace {

common::RunOptions OptionsFrom(uint8_t bits) {
  common::RunOptions options;
  options.high = bits & 1;
  options.length = bits & 2;
  options.cutUp = bits & 4;
  options.cutRight = bits & 8;
  options.andOr = bits & 16;
  return options;
}

// Every line the output file received must have arrived whole.
void CheckLines(const std::string& text) {
  if (!text.empty() && text.compare(text.size() - 2, 2, "\r\n") != 0) {
    std::abort();
  }
}

// Runs one converter on the decoded image with fresh in-memory sinks.
void Convert(common::Converter convert, common::RunContext& context) {
  std::istringstream in;  // end of input: every wait for Enter returns
  std::ostringstream out;
  common::Console console(in, out);
  std::string text;
  common::OutputFile output;
  output.CaptureTo(&text);
  context.output = &output;
  context.console = &console;
  convert(context);
  if (output.Close() != common::Status::kOk) std::abort();
  context.output = nullptr;
  context.console = nullptr;
  CheckLines(text);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  common::RunContext context;
  context.inputPath = "fuzz.png";
  context.setName = "fuzz";
  context.options = OptionsFrom(size == 0 ? 0 : data[size - 1]);
  common::DecodePng(data, size, &context.image);
  context.image.BeginPixelReading();
  Convert(tiles::ConvertTiles, context);
  Convert(sprites::ConvertSprites, context);
  context.image.EndPixelReading();
  return 0;
}
