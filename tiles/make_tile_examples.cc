// Draws the example tile sheets shipped in examples/ and writes them as PNG
// files into the folder given as the only parameter. The same pixels every
// time: the sheets are drawn from the pictures below, nothing else.
//   make_tile_examples examples
#include <cstdio>
#include <string>
#include <vector>

#include "testing/test_util.h"

namespace {

using testing_util::Colour;

// A 16 x 16 tile: '#' pixels take the ink colour, all others the paper.
struct Tile {
  Colour ink;
  Colour paper;
  const char* rows[16];
};

const Colour kBlack = 0x000000;
const Colour kWhite = 0xFFFFFF;
const Colour kRed = 0x0000C0;
const Colour kBrightRed = 0x0000FF;
const Colour kGreen = 0x00C000;
const Colour kBlue = 0xC00000;
const Colour kCyan = 0xFFFF00;
const Colour kYellow = 0x00FFFF;

const Tile kDungeon[] = {
    {kBlack, kRed,  // brick wall
     {"###############.", "......#.......#.", "......#.......#.", "......#.......#.",
      "................", "##############.#", "..#.......#.....", "..#.......#.....",
      "..#.......#.....", "................", "###############.", "......#.......#.",
      "......#.......#.", "......#.......#.", "................", "##############.#"}},
    {kGreen, kBlack,  // grass
     {"................", "................", "................", "................",
      "................", "................", "................", "................",
      "..#.....#....#..", "#.#..#..#.#..#.#", "#.##.#.##.#.##.#", "################",
      "################", "################", "################", "################"}},
    {kYellow, kBlack,  // ladder
     {"..##........##..", "..##........##..", "..############..", "..##........##..",
      "..##........##..", "..##........##..", "..############..", "..##........##..",
      "..##........##..", "..##........##..", "..############..", "..##........##..",
      "..##........##..", "..##........##..", "..############..", "..##........##.."}},
    {kCyan, kBlue,  // water
     {"................", "..##......##....", ".#..#....#..#...", "#....####....###",
      "................", "................", "......##......##", ".....#..#....#..",
      "#####....####...", "................", "................", "..##......##....",
      ".#..#....#..#...", "#....####....###", "................", "................"}},
    {kWhite, kBlack,  // stone floor
     {"#.#.#.#.#.#.#.#.", ".#.#.#.#.#.#.#.#", "#.#.#.#.#.#.#.#.", "................",
      "#.#.#.#.#.#.#.#.", ".#.#.#.#.#.#.#.#", "#.#.#.#.#.#.#.#.", "................",
      "#.#.#.#.#.#.#.#.", ".#.#.#.#.#.#.#.#", "#.#.#.#.#.#.#.#.", "................",
      "#.#.#.#.#.#.#.#.", ".#.#.#.#.#.#.#.#", "#.#.#.#.#.#.#.#.", "................"}},
    {kYellow, kBlue,  // coin
     {"................", "................", ".....######.....", "....##....##....",
      "...##..##..##...", "...#..###...#...", "...#...##...#...", "...#...##...#...",
      "...#...##...#...", "...#...##...#...", "...#..####..#...", "...##......##...",
      "....##....##....", ".....######.....", "................", "................"}},
    {kBrightRed, kBlack,  // door
     {"....########....", "...#........#...", "..#..######..#..", "..#.#......#.#..",
      "..#.#......#.#..", "..#.#......#.#..", "..#.#......#.#..", "..#.#....#.#.#..",
      "..#.#......#.#..", "..#.#......#.#..", "..#.#......#.#..", "..#.#......#.#..",
      "..#.#......#.#..", "..#.#......#.#..", "..#.########.#..", "..############.."}},
    {kBlack, kBlack,  // empty
     {"................", "................", "................", "................",
      "................", "................", "................", "................",
      "................", "................", "................", "................",
      "................", "................", "................", "................"}},
};

const Tile kHud[] = {
    {kBrightRed, kBlack,  // heart
     {"................", "...###....###...", "..#####..#####..", ".##############.",
      ".##############.", ".##############.", "..############..", "..############..",
      "...##########...", "....########....", ".....######.....", "......####......",
      ".......##.......", "................", "................", "................"}},
    {kCyan, kBlack,  // key
     {"................", "....####........", "...##..##.......", "..##....##......",
      "..##....##......", "...##..##.......", "....####........", ".....##.........",
      ".....##.........", ".....#####......", ".....##.........", ".....####.......",
      ".....##.........", ".....#####......", "................", "................"}},
};

// The tiles side by side, tiles_across to a row.
std::vector<Colour> Draw(const Tile* tiles, int count, int tiles_across) {
  int width = 16 * tiles_across;
  int height = 16 * ((count + tiles_across - 1) / tiles_across);
  std::vector<Colour> pixels(static_cast<size_t>(width) * height, kBlack);
  for (int t = 0; t < count; ++t) {
    int left = 16 * (t % tiles_across), top = 16 * (t / tiles_across);
    for (int y = 0; y < 16; ++y) {
      for (int x = 0; x < 16; ++x) {
        pixels[(top + y) * width + left + x] =
            tiles[t].rows[y][x] == '#' ? tiles[t].ink : tiles[t].paper;
      }
    }
  }
  return pixels;
}

// The colours as a palette image of 8 bits an index.
std::string PalettePng(int width, int height, const std::vector<Colour>& pixels) {
  testing_util::PngLayout layout;
  layout.width = width;
  layout.height = height;
  layout.colour_type = 3;
  for (Colour c : pixels) {
    size_t index = 0;
    while (index < layout.palette.size() && layout.palette[index] != c) ++index;
    if (index == layout.palette.size()) layout.palette.push_back(c);
    layout.samples.push_back(static_cast<uint16_t>(index));
  }
  return testing_util::EncodePng(layout);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_tile_examples FOLDER\n");
    return 2;
  }
  std::string folder = argv[1];
  // A palette sheet of eight tiles, and a small interlaced RGB one.
  testing_util::WriteFile(folder + "/dungeon.tiles.png",
                          PalettePng(64, 32, Draw(kDungeon, 8, 4)));
  testing_util::WriteFile(folder + "/hud.tiles.png",
                          testing_util::RgbPng(32, 16, Draw(kHud, 2, 2), true));
  return 0;
}
