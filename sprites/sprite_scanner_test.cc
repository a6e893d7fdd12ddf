// The sprite scanner on sheets drawn as text: where sprites start and end,
// and what the right and top trims leave.
#include "sprites/sprite_scanner.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sprites/test_sheets.h"
#include "testing/test_util.h"

namespace sprites {
namespace {

// index, top, height, width, first output row
struct Expected {
  int index, top, height, width, first_output_row;
};

std::vector<SpriteExtent> Scan(const common::Image& image, bool cut_right,
                               bool cut_up) {
  SpriteScanner scanner(image, cut_right, cut_up);
  std::vector<SpriteExtent> extents;
  SpriteExtent extent;
  while (scanner.Next(&extent)) extents.push_back(extent);
  return extents;
}

std::vector<SpriteExtent> ScanRows(const std::vector<std::string>& rows,
                                   bool cut_right, bool cut_up) {
  common::Image image;
  testing_util::FillImage(static_cast<int>(rows[0].size()),
                          static_cast<int>(rows.size()),
                          sprites_test::SheetPixels(rows), &image);
  return Scan(image, cut_right, cut_up);
}

void ExpectExtents(const std::vector<SpriteExtent>& got,
                   const std::vector<Expected>& want) {
  ASSERT_EQ(got.size(), want.size());
  for (size_t i = 0; i < got.size(); ++i) {
    SCOPED_TRACE(testing::Message() << "sprite " << i);
    EXPECT_EQ(got[i].index, want[i].index);
    EXPECT_EQ(got[i].top, want[i].top);
    EXPECT_EQ(got[i].height, want[i].height);
    EXPECT_EQ(got[i].width, want[i].width);
    EXPECT_EQ(got[i].firstOutputRow, want[i].first_output_row);
  }
}

TEST(SpriteScanner, Boundaries) {
  struct Case {
    const char* name;
    std::vector<std::string> rows;
    std::vector<Expected> sprites;
  };
  const Case cases[] = {
      {"marker between",
       sprites_test::DemoRows(),
       {{0, 0, 3, 16, 0}, {1, 4, 2, 16, 0}}},
      {"marker on row 0",
       {"MEEEEEEE", "DEEEEEEE", "DEEEEEEE"},
       {{0, 0, 0, 8, 0}, {1, 1, 2, 8, 0}}},
      {"marker on the last row",
       {"DEEEEEEE", "DEEEEEEE", "MEEEEEEE"},
       {{0, 0, 2, 8, 0}}},
      {"markers on the last two rows",
       {"DEEEEEEE", "MEEEEEEE", "MEEEEEEE"},
       {{0, 0, 1, 8, 0}, {1, 2, 0, 8, 0}}},
      {"markers only",
       {"MDDDDDDD", "MYYYYYYY"},
       {{0, 0, 0, 8, 0}, {1, 1, 0, 8, 0}}},
      {"no marker", {"DEEEEEEE", "LEEEEEEE", "EEEEEEEE"}, {{0, 0, 3, 8, 0}}},
      {"marker colour off column 0",
       {"DMEEEEEE", "EMMMMMMM"},
       {{0, 0, 2, 8, 0}}},
      {"one row", {"EEEEEE"}, {{0, 0, 1, 6, 0}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ExpectExtents(ScanRows(c.rows, false, false), c.sprites);
  }
}

TEST(SpriteScanner, Trims) {
  struct Case {
    const char* name;
    std::vector<std::string> rows;
    bool cut_right, cut_up;
    std::vector<Expected> sprites;
  };
  const Case cases[] = {
      {"demo, both trims",
       sprites_test::DemoRows(),
       true,
       true,
       {{0, 0, 3, 8, 1}, {1, 4, 2, 16, 0}}},
      {"rightmost used column 7",
       {"EEEEEEELEEEEEEEE", "DEEEEEEEEEEEEEEE"},
       true,
       false,
       {{0, 0, 2, 8, 0}}},
      {"rightmost used column 8",
       {"EEEEEEEEEEEEEEEE", "EEEEEEEEDEEEEEEE"},
       true,
       false,
       {{0, 0, 2, 16, 0}}},
      {"all empty, right trim",
       {"EEEEEEEEEEEEEEEE", "EEEEEEEEEEEEEEEE"},
       true,
       false,
       {{0, 0, 2, 8, 0}}},
      {"height 0, right trim",
       {"MEEEEEEEEEEEEEEE", "EEEEEEEEEEEEEEED"},
       true,
       false,
       {{0, 0, 0, 8, 0}, {1, 1, 1, 16, 0}}},
      {"width 6, no right trim", {"EEEEED"}, false, false, {{0, 0, 1, 6, 0}}},
      {"width 6, right trim past the edge",
       {"EEEEED"},
       true,
       false,
       {{0, 0, 1, 8, 0}}},
      {"width 20, no right trim",
       {"DEEEEEEEEEEEEEEEEEED"},
       false,
       false,
       {{0, 0, 1, 20, 0}}},
      {"width 20, right trim past the edge",
       {"DEEEEEEEEEEEEEEEELEE"},
       true,
       false,
       {{0, 0, 1, 24, 0}}},
      {"first used row 2",
       {"EEEEEEEE", "EEEEEEEE", "EEEDEEEE", "EEEEEEEE", "EEEEEEEE"},
       false,
       true,
       {{0, 0, 5, 8, 2}}},
      {"all empty, top trim keeps the last row",
       {"EEEEEEEE", "EEEEEEEE", "EEEEEEEE", "EEEEEEEE", "EEEEEEEE"},
       false,
       true,
       {{0, 0, 5, 8, 4}}},
      {"height 0, top trim",
       {"MEEEEEEE", "MEEEEEEE"},
       true,
       true,
       {{0, 0, 0, 8, 0}, {1, 1, 0, 8, 0}}},
      {"top trim stopped by an unencoded column",
       {"EEEEEEEEEEEEEEEEEEDE", "EEEEEEEEEEEEEEEEEEEE", "EEEEEEEEEEEEEEEEEEEE"},
       false,
       true,
       {{0, 0, 3, 20, 0}}},
      {"left and bottom edges stay",
       {"MEEEEEEE", "EEEEEEEE", "EEDEEEEE", "EEEEEEEE"},
       true,
       true,
       {{0, 0, 0, 8, 0}, {1, 1, 3, 8, 1}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ExpectExtents(ScanRows(c.rows, c.cut_right, c.cut_up), c.sprites);
  }
}

TEST(SpriteScanner, ImageWithoutPixelsHasNoSprite) {
  common::Image not_loaded;
  EXPECT_TRUE(Scan(not_loaded, true, true).empty());
  common::Image no_columns;
  ASSERT_TRUE(no_columns.Allocate(0, 3));
  EXPECT_TRUE(Scan(no_columns, false, false).empty());
}

}  // namespace
}  // namespace sprites
