// Micro-benchmarks of the converters' hot paths, on the benchmark's own
// sheets: reading cell pixels, cell analysis and encoding, the tile writer,
// byte-column encoding and byte-pair formatting. PNG decoding of the same
// sheet is measured alongside for scale. Rates are per pixel (items) or per
// output byte (bytes).
#include <benchmark/benchmark.h>

#include <cstring>
#include <sstream>
#include <string>

#include "bench/sheets.h"
#include "common/console.h"
#include "common/data_line.h"
#include "common/output_file.h"
#include "common/png_decoder.h"
#include "common/run_options.h"
#include "common/text_format.h"
#include "sprites/byte_column.h"
#include "sprites/sprite_scanner.h"
#include "sprites/sprite_writer.h"
#include "testing/test_util.h"
#include "tiles/cell_analysis.h"
#include "tiles/cell_encoder.h"
#include "tiles/tile_writer.h"

namespace {

constexpr int kTileSide = 2048;

// Built once: generating a sheet costs far more than what is measured.
const common::Image& TileImage() {
  static const common::Image* image = [] {
    auto* made = new common::Image;
    bench::ToImage(bench::TileSheet(kTileSide), made);
    return made;
  }();
  return *image;
}

const common::Image& SpriteImage() {
  static const common::Image* image = [] {
    auto* made = new common::Image;
    bench::ToImage(bench::SpriteSheet(bench::kMaxSprites), made);
    return made;
  }();
  return *image;
}

int64_t Pixels(const common::Image& image) {
  return static_cast<int64_t>(image.width()) * image.height();
}

void BM_ReadCellPixels(benchmark::State& state) {
  const common::Image& image = TileImage();
  tiles::CellPixels pixels;
  for (auto _ : state) {
    for (int cy = 0; cy < image.height() / 8; ++cy) {
      for (int cx = 0; cx < image.width() / 8; ++cx) {
        tiles::ReadCellPixels(image, cx, cy, &pixels);
        benchmark::DoNotOptimize(pixels);
      }
    }
  }
  state.SetItemsProcessed(state.iterations() * Pixels(image));
}
BENCHMARK(BM_ReadCellPixels)->Unit(benchmark::kMillisecond);

// The whole cell pass: read, analyse and encode every cell into the tables.
void BM_CellPass(benchmark::State& state) {
  const common::Image& image = TileImage();
  const int across = image.width() / 8, down = image.height() / 8;
  tiles::CellTables tables(across, down);
  tiles::CellPixels pixels;
  tiles::CellColours colours;
  tiles::ColourPair pair;
  for (auto _ : state) {
    for (int cy = 0; cy < down; ++cy) {
      for (int cx = 0; cx < across; ++cx) {
        tiles::ReadCellPixels(image, cx, cy, &pixels);
        if (!tiles::AnalyseCell(pixels, &colours, &pair)) {
          state.SkipWithError("sheet cell of more than two colours");
          return;
        }
        tiles::EncodeCell(cx, cy, pixels, pair, &tables);
      }
    }
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * Pixels(image));
}
BENCHMARK(BM_CellPass)->Unit(benchmark::kMillisecond);

// Analysis and encoding alone, on one cell already read: one or two colours.
void BM_AnalyseAndEncodeCell(benchmark::State& state) {
  const common::Image& image = TileImage();
  tiles::CellTables tables(1, 1);
  tiles::CellPixels pixels;
  // Cell 0 of row 0 and its right neighbour differ in kind on the sheet;
  // search for a cell of the asked number of colours.
  tiles::CellColours colours;
  tiles::ColourPair pair;
  for (int cx = 0;; ++cx) {
    tiles::ReadCellPixels(image, cx, 0, &pixels);
    tiles::AnalyseCell(pixels, &colours, &pair);
    if (colours.n == state.range(0)) break;
  }
  for (auto _ : state) {
    benchmark::DoNotOptimize(tiles::AnalyseCell(pixels, &colours, &pair));
    tiles::EncodeCell(0, 0, pixels, pair, &tables);
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * tiles::kCellPixels);
}
BENCHMARK(BM_AnalyseAndEncodeCell)->Arg(1)->Arg(2);

// The writing pass of a whole sheet into /dev/null: formatting and the
// output file's buffer and writes.
void BM_TileWriter(benchmark::State& state) {
  const common::Image& image = TileImage();
  const int across = image.width() / 8, down = image.height() / 8;
  tiles::CellTables tables(across, down);
  for (int cy = 0; cy < down; ++cy) {
    for (int cx = 0; cx < across; ++cx) {
      tables.Attribute(cx, cy) = static_cast<uint8_t>(cx * 7 + cy);
      for (int r = 0; r < 8; ++r) {
        tables.PixelByte(cx, cy * 8 + r) = static_cast<uint8_t>(cx + r * 31);
      }
    }
  }
  const int64_t tiles_count = static_cast<int64_t>(across / 2) * (down / 2);
  for (auto _ : state) {
    common::OutputFile output;
    output.Create("/dev/null");
    tiles::WriteTiles(tables, across / 2, down / 2, &output);
    output.Close();
  }
  state.SetItemsProcessed(state.iterations() * Pixels(image));
  // Three lines a tile: 16 + 16 + 4 byte texts with their separators.
  state.SetBytesProcessed(state.iterations() * tiles_count * (69 + 69 + 21));
}
BENCHMARK(BM_TileWriter)->Unit(benchmark::kMillisecond);

// Every byte column of every sprite row of the sprite sheet.
void BM_EncodeByteColumn(benchmark::State& state) {
  const common::Image& image = SpriteImage();
  const bool and_or = state.range(0) != 0;
  for (auto _ : state) {
    for (int y = 0; y < image.height(); ++y) {
      for (int left = 0; left + 8 <= image.width(); left += 8) {
        sprites::BytePair pair;
        int wrong_x;
        // Marker rows hold one green pixel in column 0 and stop early.
        benchmark::DoNotOptimize(
            sprites::EncodeByteColumn(image, left, y, and_or, &pair, &wrong_x));
        benchmark::DoNotOptimize(pair);
      }
    }
  }
  state.SetItemsProcessed(state.iterations() * Pixels(image));
}
BENCHMARK(BM_EncodeByteColumn)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// Formatting one data line of 32 byte pairs, the sprite sheet's widest, the
// way the writers do: through the data-line builder.
void BM_BytePairFormatting(benchmark::State& state) {
  common::DataLine line(2 * 32);
  uint8_t value = 0;
  for (auto _ : state) {
    line.Start();
    for (int k = 0; k < 2 * 32; ++k) line.Add(value++);
    benchmark::DoNotOptimize(line.Text().data());
  }
  state.SetBytesProcessed(state.iterations() * (4 + 32 * 8 - 1));
}
BENCHMARK(BM_BytePairFormatting);

// The sprite writer over the whole sprite sheet into /dev/null: scanning,
// encoding, formatting and writing, without the console's size lines.
void BM_SpriteWriter(benchmark::State& state) {
  const common::Image& image = SpriteImage();
  common::RunOptions options;
  common::DataLine line(2 * static_cast<size_t>(image.width() / 8));
  std::istringstream in;
  std::ostringstream out;
  common::Console console(in, out);
  for (auto _ : state) {
    common::OutputFile output;
    output.Create("/dev/null");
    sprites::SpriteScanner scanner(image, false, false);
    sprites::SpriteExtent extent;
    while (scanner.Next(&extent)) {
      if (sprites::WriteSprite(image, extent, options, "sheet", &output,
                               &console, &line) != common::Status::kOk) {
        state.SkipWithError("sheet pixel of no class");
        return;
      }
    }
    output.Close();
  }
  state.SetItemsProcessed(state.iterations() * Pixels(image));
}
BENCHMARK(BM_SpriteWriter)->Unit(benchmark::kMillisecond);

// PNG decoding of the tile sheet, the part of a run no converter can avoid.
void BM_DecodeTileSheet(benchmark::State& state) {
  std::string file = testing_util::EncodePng(
      bench::RgbLayout(bench::TileSheet(kTileSide), state.range(0) != 0));
  for (auto _ : state) {
    common::Image image;
    common::DecodePng(reinterpret_cast<const uint8_t*>(file.data()),
                      file.size(), &image);
    benchmark::DoNotOptimize(image.Row(0));
  }
  state.SetItemsProcessed(state.iterations() * kTileSide * kTileSide);
}
BENCHMARK(BM_DecodeTileSheet)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
