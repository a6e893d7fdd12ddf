// The drop window in a real X server: both programs started without
// parameters, driven by real drags (our own XDND source) and XTest clicks.
// Skipped where DISPLAY is unset; the test command starts Xvfb for them.
#include "common/drop_window.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "common/colour.h"
#include "testing/test_util.h"
#include "testing/x_session.h"

namespace common {
namespace {

using testing_util::CrLfLines;
using testing_util::FileExists;
using testing_util::IsCreationLine;
using testing_util::ReadFile;
using testing_util::RunningProcess;
using testing_util::RunProcess;
using testing_util::TempDir;
using testing_util::WindowShot;
using testing_util::WriteFile;
using testing_util::XSession;

constexpr char kCaption[] = "Pelmora 1.0";
const Colour kAreaColour = ColourFrom(0, 0, 31);
const Colour kBlack = ColourFrom(0, 0, 0);
const Colour kWhite = ColourFrom(255, 255, 255);
const Colour kRed = ColourFrom(255, 0, 0);
const Colour kGreen = ColourFrom(0, 255, 0);

// The first file's name holds a space and a non-ASCII letter (UTF-8 e-acute).
constexpr char kFirstName[] = "my sheet \xC3\xA9.png";
constexpr char kSecondName[] = "second.png";

// A 16 x 16 tile sheet: two colours in every cell, each cell its own.
std::string TileSheet() {
  std::vector<Colour> pixels;
  for (int y = 0; y < 16; ++y) {
    for (int x = 0; x < 16; ++x) {
      bool left = x < 8, top = y < 8;
      Colour ink = top ? (left ? kRed : kGreen) : (left ? kWhite : kRed);
      pixels.push_back(((x + y) % 3 == 0) ? ink : kBlack);
    }
  }
  return testing_util::RgbPng(16, 16, pixels);
}

// A sprite sheet on which every option changes the output: an empty top
// row (trimmed by cut up), dark and light pixels (paired differently by and
// or), a marker row, then a second sprite.
std::string SpriteSheet() {
  const char* rows[] = {"EEEEEEEE", "DDLLEEDL", "LDDDLLEE", "MEEEEEEE",
                        "DEELLEED"};
  std::vector<Colour> pixels;
  for (const char* row : rows) {
    for (const char* c = row; *c != '\0'; ++c) {
      pixels.push_back(*c == 'E'   ? kRed
                       : *c == 'D' ? kBlack
                       : *c == 'L' ? kWhite
                                   : kGreen);
    }
  }
  return testing_util::RgbPng(8, 5, pixels);
}

std::string FileUri(const std::string& path) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string uri = "file://";
  for (unsigned char c : path) {
    if (isalnum(c) || c == '/' || c == '.' || c == '-' || c == '_') {
      uri += static_cast<char>(c);
    } else {
      uri += '%';
      uri += kHex[c >> 4];
      uri += kHex[c & 15];
    }
  }
  return uri;
}

// The output's lines, with the creation line checked and left out.
std::vector<std::string> LinesWithoutDate(const std::string& output) {
  std::vector<std::string> lines = CrLfLines(output);
  EXPECT_GE(lines.size(), 2u);
  if (lines.size() < 2) return lines;
  EXPECT_TRUE(IsCreationLine(lines[1])) << lines[1];
  lines.erase(lines.begin() + 1);
  return lines;
}

// Runs our drag source against the window: offers one type, asks for
// action, hands over data.
testing_util::ProcessResult Drag(XSession& x, Window window,
                                 const std::string& type,
                                 const std::string& action,
                                 const std::string& data) {
  int root_x, root_y;
  x.RootPosition(window, &root_x, &root_y);
  return RunProcess(XDND_SOURCE_PATH,
                    {std::to_string(window), std::to_string(root_x + 140),
                     std::to_string(root_y + 100), type, action, data});
}

const std::string kAcceptedAndFinished =
    "status accept=1 action=XdndActionCopy\n"
    "request text/uri-list\n"
    "finished accept=1 action=XdndActionCopy\n";

// The arguments of /usr/bin/env that start program in drop mode. A
// sanitized program is told to pass over the font library's leaks at exit.
std::vector<std::string> DropMode(const char* program) {
  const char* options = std::getenv("LSAN_OPTIONS");
  std::string lsan = "LSAN_OPTIONS=";
  if (options != nullptr && *options != '\0')
    lsan += std::string(options) + ":";
  lsan += "suppressions=" SOURCE_DIR "/testing/lsan_suppressions.txt";
  return {lsan, program};
}

class DropWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* display = std::getenv("DISPLAY");
    if (display == nullptr || *display == '\0') {
      GTEST_SKIP() << "DISPLAY is unset; scripts/test runs these under Xvfb";
    }
    ASSERT_TRUE(x_.ok()) << "cannot open display " << display;
    ASSERT_TRUE(x_.WaitForNoWindow(kCaption, 5000))
        << "a drop window is left over";
  }

  // Starts the program in drop mode in dir; the window once it is drawn.
  Window Start(RunningProcess& program) {
    EXPECT_TRUE(program.started());
    Window window = x_.WaitForWindow(kCaption);
    EXPECT_NE(window, 0u) << "no drop window appeared";
    if (window != 0) {
      EXPECT_TRUE(x_.WaitForPixel(window, 1, 1, kAreaColour));
    }
    return window;
  }

  XSession x_;
};

// Drops two files; the first is converted exactly as the command line
// converts it, the second is left alone. extra_flags are the options the
// window's boxes were set to.
void ExpectDropConverts(XSession& x, const char* program,
                        const std::string& sheet,
                        const std::vector<std::string>& extra_flags,
                        const char* extension, RunningProcess& running,
                        Window window, const TempDir& dir) {
  std::string first = dir.File(kFirstName);
  std::string second = dir.File(kSecondName);
  testing_util::ProcessResult drag =
      Drag(x, window, "text/uri-list", "XdndActionMove",
           FileUri(first) + "\r\n" + FileUri(second) + "\r\n");
  EXPECT_EQ(drag.exit_status, 0) << drag.out;
  EXPECT_EQ(drag.out, kAcceptedAndFinished);
  EXPECT_EQ(running.Wait(), 0);
  EXPECT_TRUE(x.WaitForNoWindow(kCaption));
  EXPECT_EQ(running.out().rfind("Loading file " + first + "\n", 0), 0u)
      << running.out();
  EXPECT_FALSE(FileExists(second + extension));
  std::string dropped = ReadFile(first + extension);
  ASSERT_FALSE(dropped.empty());

  // The same sheet through the command line, with the boxes as flags.
  ASSERT_EQ(ReadFile(first), sheet);
  std::vector<std::string> args = {first};
  args.insert(args.end(), extra_flags.begin(), extra_flags.end());
  testing_util::ProcessResult command_line = RunProcess(program, args);
  ASSERT_EQ(command_line.exit_status, 0) << command_line.out;
  EXPECT_EQ(LinesWithoutDate(dropped),
            LinesWithoutDate(ReadFile(first + extension)));
}

TEST_F(DropWindowTest, TileWindowConvertsTheFirstDroppedFile) {
  TempDir dir;
  WriteFile(dir.File(kFirstName), TileSheet());
  WriteFile(dir.File(kSecondName), TileSheet());
  RunningProcess cellhew("/usr/bin/env", DropMode(CELLHEW_PATH), dir.path());
  Window window = Start(cellhew);
  ASSERT_NE(window, 0u);
  ExpectDropConverts(x_, CELLHEW_PATH, TileSheet(), {}, ".inc", cellhew, window,
                     dir);
}

// A dropped folder becomes the input path like any file; loading it fails.
TEST_F(DropWindowTest, DroppedFolderIsAnImageThatCannotBeLoaded) {
  TempDir dir;
  std::string folder = dir.File("sheets");
  ASSERT_EQ(RunProcess("/bin/mkdir", {folder}).exit_status, 0);
  RunningProcess cellhew("/usr/bin/env", DropMode(CELLHEW_PATH), dir.path());
  Window window = Start(cellhew);
  ASSERT_NE(window, 0u);
  testing_util::ProcessResult drag =
      Drag(x_, window, "text/uri-list", "XdndActionCopy", FileUri(folder));
  EXPECT_EQ(drag.out, kAcceptedAndFinished);
  EXPECT_EQ(cellhew.Wait(), 1);
  EXPECT_EQ(cellhew.out(), "Loading file " + folder +
                               "\nImage could not be loaded: " + folder + "\n");
}

TEST_F(DropWindowTest, CloseEndsWithoutOutput) {
  std::vector<const char*> programs = {CELLHEW_PATH};
#ifdef GLYPHWRIGHT_PATH
  programs.push_back(GLYPHWRIGHT_PATH);
#endif
  for (const char* program : programs) {
    TempDir dir;
    RunningProcess running("/usr/bin/env", DropMode(program), dir.path());
    Window window = Start(running);
    ASSERT_NE(window, 0u) << program;
    x_.SendDeleteWindow(window);
    EXPECT_EQ(running.Wait(), 0) << program;
    EXPECT_EQ(running.out(), "") << program;
    EXPECT_TRUE(x_.WaitForNoWindow(kCaption)) << program;
    EXPECT_EQ(RunProcess("/bin/sh", {"-c", "ls -A \"$0\"", dir.path()}).out, "")
        << program;
  }
}

TEST_F(DropWindowTest, OtherDataIsRefusedAndTheWindowWaits) {
  TempDir dir;
  WriteFile(dir.File(kFirstName), TileSheet());
  RunningProcess cellhew("/usr/bin/env", DropMode(CELLHEW_PATH), dir.path());
  Window window = Start(cellhew);
  ASSERT_NE(window, 0u);
  std::string uri = FileUri(dir.File(kFirstName));
  testing_util::ProcessResult drag =
      Drag(x_, window, "text/plain", "XdndActionCopy", uri);
  EXPECT_EQ(drag.exit_status, 2) << drag.out;
  EXPECT_EQ(drag.out, "status accept=0 action=None\n");

  // Still waiting: the window stays, and a file list is still taken.
  EXPECT_EQ(x_.WaitForWindow(kCaption, 1000), window);
  drag = Drag(x_, window, "text/uri-list", "XdndActionCopy", uri);
  EXPECT_EQ(drag.out, kAcceptedAndFinished);
  EXPECT_EQ(cellhew.Wait(), 0);
  EXPECT_TRUE(FileExists(dir.File(kFirstName) + ".inc"));
}

TEST_F(DropWindowTest, ListWithoutLocalFilesIsRefusedAtTheDrop) {
  TempDir dir;
  RunningProcess cellhew("/usr/bin/env", DropMode(CELLHEW_PATH), dir.path());
  Window window = Start(cellhew);
  ASSERT_NE(window, 0u);
  testing_util::ProcessResult drag =
      Drag(x_, window, "text/uri-list", "XdndActionCopy",
           "http://example.org/a.png\r\n");
  EXPECT_EQ(drag.exit_status, 1);
  EXPECT_EQ(drag.out,
            "status accept=1 action=XdndActionCopy\n"
            "request text/uri-list\n"
            "finished accept=0 action=None\n");
  EXPECT_EQ(x_.WaitForWindow(kCaption, 1000), window);
  x_.SendDeleteWindow(window);
  EXPECT_EQ(cellhew.Wait(), 0);
  EXPECT_EQ(cellhew.out(), "");
}

// ---- What the window looks like -------------------------------------------

struct TextSpot {
  int x, y;
};

// Text pixels are anti-aliased: count those close to the text colour.
bool IsTextPixel(Colour c) {
  return RedOf(c) > 60 && GreenOf(c) > 120 && BlueOf(c) < 60;
}

void ExpectWindowFrame(XSession& x, Window window) {
  EXPECT_EQ(x.TextProperty(window, "WM_NAME"), kCaption);
  EXPECT_EQ(x.TextProperty(window, "_NET_WM_NAME"), kCaption);
  XWindowAttributes attributes;
  ASSERT_TRUE(XGetWindowAttributes(x.display(), window, &attributes));
  EXPECT_EQ(attributes.width, 400);
  EXPECT_EQ(attributes.height, 200);
  int root_x, root_y;
  x.RootPosition(window, &root_x, &root_y);
  EXPECT_EQ(root_x, (x.screen_width() - 400) / 2);
  EXPECT_EQ(root_y, (x.screen_height() - 200) / 2);
  // Not resizable, and move and close are the only functions offered.
  XSizeHints hints{};
  long supplied = 0;
  ASSERT_TRUE(XGetWMNormalHints(x.display(), window, &hints, &supplied));
  EXPECT_TRUE(hints.flags & PMinSize);
  EXPECT_TRUE(hints.flags & PMaxSize);
  EXPECT_EQ(hints.min_width, 400);
  EXPECT_EQ(hints.max_width, 400);
  EXPECT_EQ(hints.min_height, 200);
  EXPECT_EQ(hints.max_height, 200);
  std::vector<unsigned long> motif =
      x.CardinalsProperty(window, "_MOTIF_WM_HINTS");
  ASSERT_EQ(motif.size(), 5u);
  EXPECT_EQ(motif[0], 3u);             // functions and decorations given
  EXPECT_EQ(motif[1], 4u | 32u);       // move, close
  EXPECT_EQ(motif[2], 2u | 8u | 16u);  // border, title, menu
}

// Every text starts at its spot: the band of rows from its top holds text
// pixels, the first of them in the spot's column; nothing is drawn above
// the first text or outside the drawing area.
void ExpectTexts(const WindowShot& shot, const std::vector<TextSpot>& spots) {
  for (const TextSpot& spot : spots) {
    int leftmost = -1, count = 0;
    for (int y = spot.y; y < spot.y + 13; ++y) {
      for (int x = 0; x < 280; ++x) {
        if (!IsTextPixel(shot.At(x, y))) continue;
        ++count;
        if (leftmost < 0 || x < leftmost) leftmost = x;
      }
    }
    EXPECT_GE(count, 10) << "text at " << spot.x << "," << spot.y;
    EXPECT_GE(leftmost, spot.x) << "text at " << spot.x << "," << spot.y;
    EXPECT_LE(leftmost, spot.x + 3) << "text at " << spot.x << "," << spot.y;
  }
  for (int y = 0; y < 200; ++y) {
    for (int x = 0; x < 400; ++x) {
      bool outside = y < 10 || x >= 280;
      if (outside && IsTextPixel(shot.At(x, y))) {
        ADD_FAILURE() << "text colour at " << x << "," << y;
        return;
      }
    }
  }
}

void ExpectArea(const WindowShot& shot) {
  for (TextSpot p :
       {TextSpot{0, 0}, {279, 0}, {0, 199}, {279, 199}, {140, 44}, {5, 100}}) {
    EXPECT_EQ(shot.At(p.x, p.y), kAreaColour) << p.x << "," << p.y;
  }
  // Outside it, the dialog colour.
  Colour dialog = shot.At(399, 0);
  EXPECT_NE(dialog, kAreaColour);
  EXPECT_EQ(RedOf(dialog), GreenOf(dialog));
  EXPECT_EQ(GreenOf(dialog), BlueOf(dialog));
  for (TextSpot p : {TextSpot{280, 0}, {280, 199}, {399, 199}, {340, 5}}) {
    EXPECT_EQ(shot.At(p.x, p.y), dialog) << p.x << "," << p.y;
  }
}

// Keeps the shot as a PNG when DROP_WINDOW_SHOTS names a folder.
void KeepShot(const WindowShot& shot, const std::string& name) {
  const char* folder = std::getenv("DROP_WINDOW_SHOTS");
  if (folder == nullptr || *folder == '\0') return;
  WriteFile(std::string(folder) + "/" + name,
            testing_util::RgbPng(shot.width, shot.height, shot.pixels));
}

// Starts the program in drop mode, checks the window's frame and drawing
// area, and returns what the window shows.
class DropWindowLooks : public DropWindowTest {
 protected:
  WindowShot LookAt(const char* program) {
    TempDir dir;
    RunningProcess running("/usr/bin/env", DropMode(program), dir.path());
    Window window = Start(running);
    if (window == 0) return WindowShot();
    ExpectWindowFrame(x_, window);
    WindowShot shot = x_.Shot(window);
    if (shot.width == 400 && shot.height == 200) ExpectArea(shot);
    return shot;
  }
};

TEST_F(DropWindowLooks, TileWindow) {
  WindowShot shot = LookAt(CELLHEW_PATH);
  ASSERT_EQ(shot.width, 400);
  ASSERT_EQ(shot.height, 200);
  ExpectTexts(shot, {{60, 10}, {10, 25}, {10, 50}, {90, 180}});
  // No boxes: the dialog colour throughout the right part.
  int other = 0;
  for (int y = 0; y < 200; ++y) {
    for (int x = 280; x < 400; ++x) other += shot.At(x, y) != shot.At(399, 0);
  }
  EXPECT_EQ(other, 0);
  KeepShot(shot, "cellhew-window.png");
}

TEST(DropWindowWithoutDisplay, SaysSoAndEndsWithStatusOne) {
  const struct {
    const char* program;
    const char* display;  // nullptr: unset
    const char* line;
  } kCases[] = {
      {CELLHEW_PATH, nullptr,
       "Drop window could not be shown (no display is set); use the command "
       "line instead: cellhew filename.png\n"},
      {CELLHEW_PATH, ":4093",
       "Drop window could not be shown (cannot open display \":4093\"); use "
       "the command line instead: cellhew filename.png\n"},
#ifdef GLYPHWRIGHT_PATH
      {GLYPHWRIGHT_PATH, nullptr,
       "Drop window could not be shown (no display is set); use the command "
       "line instead: glyphwright filename.png [/HIGH] [/LENGTH] [/CUTUP] "
       "[/CUTRIGHT] [/ANDOR]\n"},
#endif
  };
  for (const auto& c : kCases) {
    TempDir dir;
    std::vector<std::string> args = {"-u", "DISPLAY"};
    if (c.display != nullptr)
      args.push_back(std::string("DISPLAY=") + c.display);
    args.push_back(c.program);
    RunningProcess running("/usr/bin/env", args, dir.path());
    EXPECT_EQ(running.Wait(), 1) << c.program;
    EXPECT_EQ(running.out(), c.line);
    EXPECT_EQ(RunProcess("/bin/sh", {"-c", "ls -A \"$0\"", dir.path()}).out,
              "");
  }
}

// ---- The sprite variant ----------------------------------------------------

#ifdef GLYPHWRIGHT_PATH

TEST_F(DropWindowLooks, SpriteWindow) {
  WindowShot shot = LookAt(GLYPHWRIGHT_PATH);
  ASSERT_EQ(shot.width, 400);
  ASSERT_EQ(shot.height, 200);
  ExpectTexts(shot, {{60, 10},
                     {10, 25},
                     {10, 50},
                     {10, 70},
                     {10, 90},
                     {10, 110},
                     {10, 130},
                     {10, 150},
                     {90, 180}});
  // Each box: a white square at its left and a dark label beside it, all
  // inside its 80 x 20 place, and nothing of it between the boxes' rows.
  for (int top : {70, 90, 110, 130, 150}) {
    int white = 0, dark = 0;
    for (int y = top; y < top + 20; ++y) {
      for (int x = 300; x < 380; ++x) {
        Colour c = shot.At(x, y);
        if (x < 320 && c == kWhite) ++white;
        if (x >= 318 && RedOf(c) < 80 && GreenOf(c) < 80 && BlueOf(c) < 80) {
          ++dark;
        }
      }
    }
    EXPECT_GE(white, 50) << "box at " << top;
    EXPECT_GE(dark, 15) << "label at " << top;
  }
  Colour dialog = shot.At(399, 0);
  for (int y : {0, 69, 170, 199}) {
    for (int x = 280; x < 400; ++x) {
      if (shot.At(x, y) != dialog) {
        ADD_FAILURE() << "not dialog colour at " << x << "," << y;
        break;
      }
    }
  }
  KeepShot(shot, "glyphwright-window.png");
}

TEST_F(DropWindowTest, SpriteWindowRunsWithTheTickedBoxes) {
  // The options must show in the output for this test to mean anything.
  {
    TempDir dir;
    WriteFile(dir.File("s.png"), SpriteSheet());
    std::vector<std::vector<std::string>> flag_sets = {
        {},
        {"/CUTUP", "/ANDOR"},
        {"/CUTUP"},
        {"/ANDOR"},
        {"/CUTUP", "/ANDOR", "/HIGH"}};
    std::vector<std::vector<std::string>> outputs;
    for (const auto& flags : flag_sets) {
      std::vector<std::string> args = {dir.File("s.png")};
      args.insert(args.end(), flags.begin(), flags.end());
      ASSERT_EQ(RunProcess(GLYPHWRIGHT_PATH, args).exit_status, 0);
      outputs.push_back(LinesWithoutDate(ReadFile(dir.File("s.png.a80"))));
    }
    for (size_t i = 1; i < outputs.size(); ++i) {
      EXPECT_NE(outputs[i], outputs[0]) << i;
      if (i != 1) {
        EXPECT_NE(outputs[i], outputs[1]) << i;
      }
    }
  }

  TempDir dir;
  WriteFile(dir.File(kFirstName), SpriteSheet());
  WriteFile(dir.File(kSecondName), SpriteSheet());
  RunningProcess glyphwright("/usr/bin/env", DropMode(GLYPHWRIGHT_PATH),
                             dir.path());
  Window window = Start(glyphwright);
  ASSERT_NE(window, 0u);
  x_.Click(window, 310, 120);  // Cut Up
  x_.Click(window, 310, 160);  // And Or
  x_.Click(window, 310, 80);   // Height, ticked
  x_.Click(window, 310, 80);   // and unticked again
  ExpectDropConverts(x_, GLYPHWRIGHT_PATH, SpriteSheet(), {"/CUTUP", "/ANDOR"},
                     ".a80", glyphwright, window, dir);
}

#endif  // GLYPHWRIGHT_PATH

}  // namespace
}  // namespace common
