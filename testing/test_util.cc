#include "testing/test_util.h"

#include <dirent.h>
#include <fcntl.h>
#include <png.h>
#include <zlib.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

extern char** environ;

namespace testing_util {

namespace {

void AppendToString(png_structp png, png_bytep data, png_size_t length) {
  auto* out = static_cast<std::string*>(png_get_io_ptr(png));
  out->append(reinterpret_cast<const char*>(data), length);
}

void NoFlush(png_structp) {}

int ChannelsOf(int colour_type) {
  switch (colour_type) {
    case PNG_COLOR_TYPE_GRAY:
    case PNG_COLOR_TYPE_PALETTE:
      return 1;
    case PNG_COLOR_TYPE_GRAY_ALPHA:
      return 2;
    case PNG_COLOR_TYPE_RGB:
      return 3;
    default:
      return 4;
  }
}

}  // namespace

std::string EncodePng(const PngLayout& layout) {
  std::string out;
  png_structp png =
      png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    throw std::runtime_error("EncodePng failed");
  }
  png_set_write_fn(png, &out, AppendToString, NoFlush);
  png_set_IHDR(png, info, layout.width, layout.height, layout.bit_depth,
               layout.colour_type,
               layout.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  std::vector<png_color> palette;
  for (Colour c : layout.palette) {
    palette.push_back({static_cast<png_byte>(c & 255),
                       static_cast<png_byte>((c >> 8) & 255),
                       static_cast<png_byte>((c >> 16) & 255)});
  }
  if (!palette.empty()) {
    png_set_PLTE(png, info, palette.data(), static_cast<int>(palette.size()));
  }
  if (!layout.palette_alpha.empty()) {
    std::vector<png_byte> alpha(layout.palette_alpha.begin(),
                                layout.palette_alpha.end());
    png_set_tRNS(png, info, alpha.data(), static_cast<int>(alpha.size()),
                 nullptr);
  } else if (layout.has_trns_colour) {
    png_color_16 colour{};
    colour.red = layout.trns_red;
    colour.green = layout.trns_green;
    colour.blue = layout.trns_blue;
    colour.gray = layout.trns_grey;
    png_set_tRNS(png, info, nullptr, 0, &colour);
  }
  png_write_info(png, info);

  int channels = ChannelsOf(layout.colour_type);
  size_t row_samples = static_cast<size_t>(layout.width) * channels;
  size_t row_bytes = (row_samples * layout.bit_depth + 7) / 8;
  std::vector<std::vector<png_byte>> rows(layout.height,
                                          std::vector<png_byte>(row_bytes));
  for (int y = 0; y < layout.height; ++y) {
    std::vector<png_byte>& row = rows[y];
    for (size_t i = 0; i < row_samples; ++i) {
      uint16_t v = layout.samples[y * row_samples + i];
      if (layout.bit_depth == 16) {
        row[2 * i] = static_cast<png_byte>(v >> 8);
        row[2 * i + 1] = static_cast<png_byte>(v & 255);
      } else if (layout.bit_depth == 8) {
        row[i] = static_cast<png_byte>(v);
      } else {
        size_t bit = i * layout.bit_depth;
        int shift = 8 - layout.bit_depth - static_cast<int>(bit % 8);
        row[bit / 8] |= static_cast<png_byte>(v << shift);
      }
    }
  }
  std::vector<png_bytep> pointers;
  for (auto& row : rows) pointers.push_back(row.data());
  png_write_image(png, pointers.data());
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return out;
}

std::string WithHeaderSize(std::string png, uint32_t width, uint32_t height) {
  // Signature (8), length (4), "IHDR" (4), then width and height.
  auto put = [&](size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) png[at + i] = static_cast<char>(v >> (24 - 8 * i));
  };
  put(16, width);
  put(20, height);
  uLong crc = crc32(0, reinterpret_cast<const Bytef*>(&png[12]), 17);
  put(29, static_cast<uint32_t>(crc));
  return png;
}

PngLayout RgbLayout(int width, int height, const std::vector<Colour>& pixels,
                    bool interlaced) {
  PngLayout layout;
  layout.width = width;
  layout.height = height;
  layout.interlaced = interlaced;
  layout.samples.reserve(pixels.size() * 3);
  for (Colour c : pixels) {
    layout.samples.push_back(c & 255);
    layout.samples.push_back((c >> 8) & 255);
    layout.samples.push_back((c >> 16) & 255);
  }
  return layout;
}

std::string RgbPng(int width, int height, const std::vector<Colour>& pixels,
                   bool interlaced) {
  return EncodePng(RgbLayout(width, height, pixels, interlaced));
}

TempDir::TempDir() {
  std::string pattern =
      (std::filesystem::temp_directory_path() / "converters_test_XXXXXX")
          .string();
  char* made = mkdtemp(&pattern[0]);
  if (made == nullptr) throw std::runtime_error("mkdtemp failed");
  path_ = made;
}

TempDir::~TempDir() {
  std::string command = "rm -rf '" + path_ + "'";
  if (std::system(command.c_str()) != 0) {
    std::fprintf(stderr, "could not remove %s\n", path_.c_str());
  }
}

void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

bool FileExists(const std::string& path) {
  struct stat st;
  return lstat(path.c_str(), &st) == 0;
}

ProcessResult RunProcess(const std::string& program,
                         const std::vector<std::string>& args,
                         const std::string& stdin_text,
                         const std::string& cwd) {
  TempDir io;
  std::string in_path = io.File("stdin");
  std::string out_path = io.File("stdout");
  std::string err_path = io.File("stderr");
  WriteFile(in_path, stdin_text);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, in_path.c_str(), O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, out_path.c_str(),
                                   O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_addopen(&actions, 2, err_path.c_str(),
                                   O_WRONLY | O_CREAT | O_TRUNC, 0644);
  std::string shell_command;
  std::vector<std::string> argv_text;
  if (!cwd.empty()) {
    // posix_spawn has no portable chdir before glibc 2.29's extension on
    // every system; go through the shell's cd instead.
    argv_text = {"/bin/sh", "-c", "cd \"$0\" && exec \"$@\"", cwd, program};
  } else {
    argv_text = {program};
  }
  for (const std::string& a : args) argv_text.push_back(a);
  std::vector<char*> argv;
  for (std::string& a : argv_text) argv.push_back(&a[0]);
  argv.push_back(nullptr);

  pid_t pid;
  int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(),
                            environ);
  posix_spawn_file_actions_destroy(&actions);
  ProcessResult result{-1, "", ""};
  if (spawned != 0) return result;
  int status = 0;
  while (waitpid(pid, &status, 0) < 0) {
  }
  if (WIFEXITED(status)) result.exit_status = WEXITSTATUS(status);
  if (WIFSIGNALED(status)) result.exit_status = 128 + WTERMSIG(status);
  result.out = ReadFile(out_path);
  result.err = ReadFile(err_path);
  return result;
}

RunningProcess::RunningProcess(const std::string& program,
                               const std::vector<std::string>& args,
                               const std::string& cwd,
                               long long file_size_limit) {
  std::vector<std::string> argv_text = {program};
  for (const std::string& a : args) argv_text.push_back(a);
  std::vector<char*> argv;
  for (std::string& a : argv_text) argv.push_back(&a[0]);
  argv.push_back(nullptr);
  int in_pipe[2], out_pipe[2];
  if (pipe2(in_pipe, O_CLOEXEC) != 0) return;
  if (pipe2(out_pipe, O_CLOEXEC) != 0) {
    close(in_pipe[0]);
    close(in_pipe[1]);
    return;
  }
  pid_t pid = fork();
  if (pid == 0) {
    // Only async-signal-safe calls between fork and exec.
    dup2(in_pipe[0], 0);
    dup2(out_pipe[1], 1);
    int null_fd = open("/dev/null", O_WRONLY);
    if (null_fd >= 0) dup2(null_fd, 2);
    if (!cwd.empty() && chdir(cwd.c_str()) != 0) _exit(127);
    if (file_size_limit >= 0) {
      struct rlimit limit;
      limit.rlim_cur = static_cast<rlim_t>(file_size_limit);
      limit.rlim_max = static_cast<rlim_t>(file_size_limit);
      setrlimit(RLIMIT_FSIZE, &limit);
    }
    execv(argv[0], argv.data());
    _exit(127);
  }
  close(in_pipe[0]);
  close(out_pipe[1]);
  if (pid < 0) {
    close(in_pipe[1]);
    close(out_pipe[0]);
    return;
  }
  pid_ = pid;
  in_fd_ = in_pipe[1];
  out_fd_ = out_pipe[0];
}

RunningProcess::~RunningProcess() {
  if (pid_ > 0) {
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
  }
  CloseInput();
  if (out_fd_ >= 0) close(out_fd_);
}

void RunningProcess::ReadAvailable(int timeout_ms) {
  if (out_fd_ < 0) return;
  struct pollfd p = {out_fd_, POLLIN, 0};
  if (poll(&p, 1, timeout_ms) <= 0) return;
  char chunk[4096];
  ssize_t n = read(out_fd_, chunk, sizeof chunk);
  if (n > 0) {
    out_.append(chunk, static_cast<size_t>(n));
  } else if (n == 0) {
    close(out_fd_);
    out_fd_ = -1;
  }
}

bool RunningProcess::WaitForOutput(const std::string& text, int timeout_ms) {
  auto deadline =
      std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
  while (out_.find(text) == std::string::npos) {
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                    deadline - std::chrono::steady_clock::now())
                    .count();
    if (left <= 0 || out_fd_ < 0) return false;
    ReadAvailable(static_cast<int>(left));
  }
  return true;
}

void RunningProcess::Signal(int signal_number) {
  if (pid_ > 0) kill(pid_, signal_number);
}

void RunningProcess::CloseInput() {
  if (in_fd_ >= 0) close(in_fd_);
  in_fd_ = -1;
}

void RunningProcess::CloseOutput() {
  if (out_fd_ >= 0) close(out_fd_);
  out_fd_ = -1;
}

int RunningProcess::Wait(int timeout_ms) {
  if (pid_ <= 0) return -1;
  auto deadline =
      std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
  int status = 0;
  while (true) {
    pid_t done = waitpid(pid_, &status, WNOHANG);
    if (done == pid_) break;
    if (std::chrono::steady_clock::now() >= deadline) {
      kill(pid_, SIGKILL);
      waitpid(pid_, nullptr, 0);
      pid_ = -1;
      return -1;
    }
    // Keep the program's output flowing so a full pipe cannot stall it.
    ReadAvailable(10);
    if (out_fd_ < 0) usleep(1000);
  }
  pid_ = -1;
  for (int i = 0; out_fd_ >= 0 && i < 100; ++i) ReadAvailable(100);
  if (WIFEXITED(status)) return WEXITSTATUS(status);
  if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
  return -1;
}

std::vector<std::string> CrLfLines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find("\r\n", start);
    if (end == std::string::npos) {
      lines.push_back(text.substr(start) + "<no CR LF>");
      break;
    }
    lines.push_back(text.substr(start, end - start));
    start = end + 2;
  }
  return lines;
}

namespace {

// The number written by the digits of text at [start, start + n), or -1
// when one of them is no digit.
int DigitsAt(const std::string& text, size_t start, size_t n) {
  int value = 0;
  for (size_t i = start; i < start + n; ++i) {
    if (text[i] < '0' || text[i] > '9') return -1;
    value = value * 10 + (text[i] - '0');
  }
  return value;
}

}  // namespace

bool IsCreationLine(const std::string& line) {
  // ";auto created yyyy/mm/dd hh:ii:ss", checked without std::regex, whose
  // g++ 12 headers do not compile warning-free under the sanitizers.
  static const std::string kPrefix = ";auto created ";
  static const std::string kShape = "0000/00/00 00:00:00";
  if (line.size() != kPrefix.size() + kShape.size() ||
      line.compare(0, kPrefix.size(), kPrefix) != 0) {
    return false;
  }
  size_t p = kPrefix.size();
  for (size_t i = 0; i < kShape.size(); ++i) {
    if (kShape[i] != '0' && line[p + i] != kShape[i]) return false;
  }
  int year = DigitsAt(line, p, 4), month = DigitsAt(line, p + 5, 2),
      day = DigitsAt(line, p + 8, 2), hour = DigitsAt(line, p + 11, 2),
      minute = DigitsAt(line, p + 14, 2), second = DigitsAt(line, p + 17, 2);
  return year >= 0 && month >= 1 && month <= 12 && day >= 1 && day <= 31 &&
         hour >= 0 && hour <= 23 && minute >= 0 && minute <= 59 &&
         second >= 0 && second <= 59;
}

std::vector<std::string> BodyLines(const std::string& text) {
  std::vector<std::string> lines = CrLfLines(text);
  if (lines.size() <= 2) return {};
  return std::vector<std::string>(lines.begin() + 2, lines.end());
}

std::vector<Colour> PixelsFromRows(
    const std::vector<std::string>& rows,
    const std::vector<std::pair<char, Colour>>& legend) {
  std::vector<Colour> pixels;
  for (const std::string& row : rows) {
    if (row.size() != rows[0].size()) {
      throw std::runtime_error("PixelsFromRows: rows of unequal length");
    }
    for (char symbol : row) {
      size_t k = 0;
      while (k < legend.size() && legend[k].first != symbol) ++k;
      if (k == legend.size()) {
        throw std::runtime_error(std::string("PixelsFromRows: no colour for ") +
                                 symbol);
      }
      pixels.push_back(legend[k].second);
    }
  }
  return pixels;
}

void FillImage(int width, int height, const std::vector<Colour>& pixels,
               common::Image* image) {
  if (!image->Allocate(width, height) ||
      pixels.size() != static_cast<size_t>(width) * height) {
    throw std::runtime_error("FillImage: bad size");
  }
  for (int y = 0; y < height; ++y) {
    uint8_t* row = image->MutableRow(y);
    for (int x = 0; x < width; ++x) {
      Colour c = pixels[static_cast<size_t>(y) * width + x];
      uint8_t* p = row + static_cast<size_t>(x) * common::Image::kBytesPerPixel;
      p[0] = c & 255;
      p[1] = (c >> 8) & 255;
      p[2] = (c >> 16) & 255;
      p[3] = 255;
    }
  }
  image->BeginPixelReading();
}

std::vector<std::string> PngFilesIn(const std::string& dir) {
  std::vector<std::string> names;
  if (DIR* folder = opendir(dir.c_str())) {
    while (dirent* entry = readdir(folder)) {
      std::string name = entry->d_name;
      if (name.size() > 4 && name.compare(name.size() - 4, 4, ".png") == 0) {
        names.push_back(name);
      }
    }
    closedir(folder);
  }
  std::sort(names.begin(), names.end());
  return names;
}

bool SanitizerSpoke(const std::string& err) {
  return err.find("Sanitizer") != std::string::npos ||
         err.find("runtime error:") != std::string::npos;
}

}  // namespace testing_util
