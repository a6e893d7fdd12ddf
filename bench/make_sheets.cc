// Writes the benchmark's sheets into a folder: tile sheets of 1024, 2048 and
// 4096 pixels square, the 4096 one also as a palette and as an interlaced
// PNG, and a sprite sheet. The same pixels on every run.
#include <cstdio>
#include <string>

#include "bench/sheets.h"
#include "testing/test_util.h"

namespace {

void Write(const std::string& path, const testing_util::PngLayout& layout) {
  testing_util::WriteFile(path, testing_util::EncodePng(layout));
  std::printf("%s\n", path.c_str());
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "Usage: make_sheets FOLDER\n");
    return 2;
  }
  const std::string folder = argv[1];
  for (int side : {1024, 2048, 4096}) {
    bench::Sheet sheet = bench::TileSheet(side);
    std::string name = folder + "/tiles-" + std::to_string(side);
    Write(name + ".png", bench::RgbLayout(sheet, false));
    if (side == 4096) {
      Write(name + "-palette.png", bench::PaletteLayout(sheet));
      Write(name + "-interlaced.png", bench::RgbLayout(sheet, true));
    }
  }
  Write(folder + "/sprites.png",
        bench::RgbLayout(bench::SpriteSheet(bench::kMaxSprites), false));
  return 0;
}
