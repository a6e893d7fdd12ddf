#include "common/uri_list.h"

#include <gtest/gtest.h>

namespace common {
namespace {

using Paths = std::vector<std::string>;

TEST(FilePathsOfUriList, Cases) {
  const struct {
    std::string text;
    Paths paths;
  } kCases[] = {
      // What file managers send: escaped URIs, CR LF, a final line end.
      {"file:///dir/my%20sheet%20%C3%A9.png\r\nfile:///dir/second.png\r\n",
       {"/dir/my sheet \xC3\xA9.png", "/dir/second.png"}},
      // LF only, no final line end.
      {"file:///a.png\nfile:///b.png", {"/a.png", "/b.png"}},
      {"file://localhost/dir/a.png", {"/dir/a.png"}},
      {"FILE://LocalHost/dir/a.png", {"/dir/a.png"}},
      {"file:/dir/a.png", {"/dir/a.png"}},
      // A bare path is taken as it stands, "%" and all.
      {"/dir/100%25.png", {"/dir/100%25.png"}},
      // Comments, empty lines, other schemes and other hosts are skipped.
      {"# dragged from the shelf\r\n\r\nfile:///a.png\r\n", {"/a.png"}},
      {"http://example.org/a.png\nfile:///b.png", {"/b.png"}},
      {"file://otherhost/a.png\nfile:///b.png", {"/b.png"}},
      {"file://localhost\nfile:", {}},
      {"sheet.png\nfile://", {}},
      // Escapes: upper and lower hex, an encoded slash, a malformed or cut
      // escape stays literal.
      {"file:///a%2fb%2Fc.png", {"/a/b/c.png"}},
      {"file:///100%.png", {"/100%.png"}},
      {"file:///a%zz%4.png", {"/a%zz%4.png"}},
      {"file:///a%4", {"/a%4"}},
      {"file:///a%", {"/a%"}},
      // A NUL would shorten the path to another file's name.
      {"file:///a.png%00.txt\nfile:///b.png", {"/b.png"}},
      // A lone CR is part of the name; only CR before LF ends a line.
      {"file:///a\r.png\r\n", {"/a\r.png"}},
      {"", {}},
      {"\r\n\n", {}},
  };
  for (const auto& c : kCases) {
    EXPECT_EQ(FilePathsOfUriList(c.text), c.paths) << c.text;
  }
}

}  // namespace
}  // namespace common
