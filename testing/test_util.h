// Shared test helpers: PNG files written with libpng, temporary folders,
// running a built program as a process, and reading its output file.
#ifndef TESTING_TEST_UTIL_H_
#define TESTING_TEST_UTIL_H_

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "common/colour.h"
#include "common/image.h"

namespace testing_util {

using common::Colour;

// A PNG to write. samples holds width x height x channels values, row by
// row, each in 0 .. 2^bit_depth - 1 (palette indexes for palette images).
struct PngLayout {
  int width = 0;
  int height = 0;
  int colour_type = 2;  // PNG_COLOR_TYPE_*: 0 grey, 2 RGB, 3 palette, 4, 6
  int bit_depth = 8;
  bool interlaced = false;
  std::vector<uint16_t> samples;
  std::vector<Colour> palette;          // palette images
  std::vector<uint8_t> palette_alpha;   // tRNS of a palette image
  bool has_trns_colour = false;         // tRNS of a grey or RGB image
  uint16_t trns_red = 0, trns_green = 0, trns_blue = 0, trns_grey = 0;
};

// The PNG file's bytes.
std::string EncodePng(const PngLayout& layout);

// The PNG with its header's width and height rewritten, checksum included:
// a header that claims what the file's data cannot hold.
std::string WithHeaderSize(std::string png, uint32_t width, uint32_t height);

// An 8-bit RGB PNG of the colour values, row by row, and its layout.
std::string RgbPng(int width, int height, const std::vector<Colour>& pixels,
                   bool interlaced = false);
PngLayout RgbLayout(int width, int height, const std::vector<Colour>& pixels,
                    bool interlaced = false);

// A fresh folder under /tmp, removed with everything in it at destruction.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::string& path() const { return path_; }
  std::string File(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

void WriteFile(const std::string& path, const std::string& bytes);
std::string ReadFile(const std::string& path);  // "" when missing
bool FileExists(const std::string& path);

struct ProcessResult {
  int exit_status;  // exit code, or 128 + signal number
  std::string out;  // stdout
  std::string err;  // stderr
};

// Runs the program with the arguments and the given standard input, in the
// working directory cwd ("" for the current one), and waits for it.
ProcessResult RunProcess(const std::string& program,
                         const std::vector<std::string>& args,
                         const std::string& stdin_text = "",
                         const std::string& cwd = "");

// A program left running: its standard input is a pipe kept open until
// CloseInput (so a wait for Enter blocks), its standard output is collected
// as it arrives, its standard error is discarded. A program still running
// at destruction is killed and reaped.
class RunningProcess {
 public:
  // file_size_limit >= 0 sets the program's RLIMIT_FSIZE, in bytes.
  RunningProcess(const std::string& program,
                 const std::vector<std::string>& args,
                 const std::string& cwd = "", long long file_size_limit = -1);
  ~RunningProcess();
  RunningProcess(const RunningProcess&) = delete;
  RunningProcess& operator=(const RunningProcess&) = delete;

  bool started() const { return pid_ > 0; }
  // Reads standard output until it contains text; false when the output
  // ends or timeout_ms passes first.
  bool WaitForOutput(const std::string& text, int timeout_ms = 20000);
  const std::string& out() const { return out_; }
  void Signal(int signal_number);
  void CloseInput();
  // Stops reading standard output: the program's next console line meets a
  // pipe without reader.
  void CloseOutput();
  // The exit code, or 128 + signal number; -1 when the program has not
  // ended within timeout_ms (it is then killed).
  int Wait(int timeout_ms = 20000);

 private:
  void ReadAvailable(int timeout_ms);

  int pid_ = -1;
  int in_fd_ = -1;
  int out_fd_ = -1;
  std::string out_;
};

// The lines of an output file, split at CR LF; the file must end in CR LF.
std::vector<std::string> CrLfLines(const std::string& text);

// True when line is ";auto created yyyy/mm/dd hh:ii:ss".
bool IsCreationLine(const std::string& line);

// The file's lines after its two header lines.
std::vector<std::string> BodyLines(const std::string& text);

// Pixels drawn as text: one string per row, all of one length, each
// character standing for the colour the legend gives it.
std::vector<Colour> PixelsFromRows(
    const std::vector<std::string>& rows,
    const std::vector<std::pair<char, Colour>>& legend);

// Gives *image the pixels, row by row, as the decoder would leave them, and
// begins pixel reading.
void FillImage(int width, int height, const std::vector<Colour>& pixels,
               common::Image* image);

// The names of the .png files in dir, sorted; none when dir cannot be read.
std::vector<std::string> PngFilesIn(const std::string& dir);

// True when a program's standard error holds a sanitizer's report.
bool SanitizerSpoke(const std::string& err);

}  // namespace testing_util

#endif  // TESTING_TEST_UTIL_H_
