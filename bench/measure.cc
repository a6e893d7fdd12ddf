// Times a converter against the decode-only baseline as whole processes:
// runs both on one sheet, alternately, and prints wall and CPU times
// (median, min, max), their ratios, the peak resident memory of each and
// the memory aim. Each program's console goes to /dev/null.
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <string>
#include <vector>

namespace {

struct Run {
  double wall_ms;
  double cpu_ms;
  long peak_kib;
};

struct Summary {
  double median, min, max;
};

double Seconds(const timeval& t) { return t.tv_sec + t.tv_usec / 1e6; }

double Now() {
  timespec t;
  clock_gettime(CLOCK_MONOTONIC, &t);
  return t.tv_sec + t.tv_nsec / 1e9;
}

// Runs the command with stdin, stdout and stderr on /dev/null; exits the
// whole measurement when it cannot start or does not end with status 0.
Run RunOnce(const std::vector<std::string>& command) {
  std::vector<char*> argv;
  for (const std::string& word : command) {
    argv.push_back(const_cast<char*>(word.c_str()));
  }
  argv.push_back(nullptr);
  double start = Now();
  pid_t pid = fork();
  if (pid < 0) {
    std::perror("fork");
    std::exit(1);
  }
  if (pid == 0) {
    int null = open("/dev/null", O_RDWR);
    dup2(null, 0);
    dup2(null, 1);
    dup2(null, 2);
    execv(argv[0], argv.data());
    _exit(127);
  }
  int status = 0;
  rusage usage{};
  if (wait4(pid, &status, 0, &usage) != pid) {
    std::perror("wait4");
    std::exit(1);
  }
  double end = Now();
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    std::fprintf(stderr, "%s did not complete (status %d)\n", argv[0], status);
    std::exit(1);
  }
  return {(end - start) * 1e3,
          (Seconds(usage.ru_utime) + Seconds(usage.ru_stime)) * 1e3,
          usage.ru_maxrss};
}

Summary Summarise(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  size_t n = values.size();
  double median =
      n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
  return {median, values.front(), values.back()};
}

std::vector<double> Field(const std::vector<Run>& runs, double Run::*field) {
  std::vector<double> values;
  for (const Run& run : runs) values.push_back(run.*field);
  return values;
}

long PeakKib(const std::vector<Run>& runs) {
  long peak = 0;
  for (const Run& run : runs) peak = std::max(peak, run.peak_kib);
  return peak;
}

// Width and height from the PNG header; 0 when the file is no PNG.
bool PngSize(const std::string& path, long* width, long* height,
             long* file_bytes) {
  std::ifstream in(path, std::ios::binary);
  unsigned char head[24];
  if (!in.read(reinterpret_cast<char*>(head), sizeof(head))) return false;
  auto be32 = [&](int at) {
    return (long(head[at]) << 24) | (long(head[at + 1]) << 16) |
           (long(head[at + 2]) << 8) | long(head[at + 3]);
  };
  *width = be32(16);
  *height = be32(20);
  in.seekg(0, std::ios::end);
  *file_bytes = static_cast<long>(in.tellg());
  return true;
}

std::string BaseName(const std::string& path) {
  size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

double MiB(double bytes) { return bytes / (1024.0 * 1024.0); }

void PrintLine(const char* name, const std::vector<Run>& runs) {
  Summary wall = Summarise(Field(runs, &Run::wall_ms));
  Summary cpu = Summarise(Field(runs, &Run::cpu_ms));
  std::printf(
      "  %-12s wall ms median %7.1f min %7.1f max %7.1f | cpu ms median "
      "%7.1f min %7.1f | peak %6.1f MiB\n",
      name, wall.median, wall.min, wall.max, cpu.median, cpu.min,
      PeakKib(runs) / 1024.0);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 5) {
    std::fprintf(stderr,
                 "Usage: measure RUNS SHEET BASELINE PROGRAM [FLAG...]\n");
    return 2;
  }
  int runs = std::atoi(argv[1]);
  std::string sheet = argv[2];
  std::vector<std::string> baseline = {argv[3], sheet};
  std::vector<std::string> program = {argv[4], sheet};
  for (int i = 5; i < argc; ++i) program.push_back(argv[i]);
  long width, height, file_bytes;
  if (runs < 1 || !PngSize(sheet, &width, &height, &file_bytes)) {
    std::fprintf(stderr, "need RUNS >= 1 and a PNG sheet\n");
    return 2;
  }

  // One untimed run each puts the files and programs in the page cache.
  RunOnce(baseline);
  RunOnce(program);
  std::vector<Run> base_runs, program_runs;
  for (int i = 0; i < runs; ++i) {
    // Alternating spreads the machine's changing load over both.
    base_runs.push_back(RunOnce(baseline));
    program_runs.push_back(RunOnce(program));
  }

  const double pixels = static_cast<double>(width) * height;
  const double store = pixels * 4;
  const double aim_bytes = store + file_bytes + 16.0 * 1024 * 1024;
  std::string name = BaseName(program[0]);
  Summary base_wall = Summarise(Field(base_runs, &Run::wall_ms));
  Summary prog_wall = Summarise(Field(program_runs, &Run::wall_ms));
  Summary base_cpu = Summarise(Field(base_runs, &Run::cpu_ms));
  Summary prog_cpu = Summarise(Field(program_runs, &Run::cpu_ms));
  double ratio = prog_wall.median / base_wall.median;
  double ratio_min = prog_wall.min / base_wall.min;
  double ratio_cpu = prog_cpu.median / base_cpu.median;
  // Each program run against the baseline run just before it: the two met
  // the same load, so the shared machine's swings cancel out, which they do
  // not in the ratios of separate medians. This ratio decides the verdict.
  std::vector<double> paired;
  for (int i = 0; i < runs; ++i) {
    paired.push_back(program_runs[i].cpu_ms / base_runs[i].cpu_ms);
  }
  std::sort(paired.begin(), paired.end());
  Summary pair_cpu = Summarise(paired);
  double lower_quartile = paired[(runs - 1) / 4];
  double upper_quartile = paired[(3 * (runs - 1) + 3) / 4];
  double peak = PeakKib(program_runs) * 1024.0;

  std::printf("%s: %ld x %ld, file %.1f MiB, store %.1f MiB, %d runs\n",
              BaseName(sheet).c_str(), width, height, MiB(file_bytes),
              MiB(store), runs);
  PrintLine("decode only", base_runs);
  PrintLine(name.c_str(), program_runs);
  std::printf(
      "  ratio        wall median %.3f, of mins %.3f, cpu median %.3f\n"
      "  paired       cpu median %.3f, quartiles %.3f to %.3f "
      "(aim <= 1.2: %s)\n",
      ratio, ratio_min, ratio_cpu, pair_cpu.median, lower_quartile,
      upper_quartile, pair_cpu.median <= 1.2 ? "met" : "NOT met");
  std::printf(
      "  memory       peak %.1f MiB, aim store + file + 16 MiB = %.1f MiB "
      "(%s)\n",
      MiB(peak), MiB(aim_bytes), peak <= aim_bytes ? "met" : "NOT met");
  std::printf(
      "  per pixel    %s %.2f ns, %.2f bytes peak; decode only %.2f ns, "
      "%.2f bytes peak\n",
      name.c_str(), prog_wall.median * 1e6 / pixels, peak / pixels,
      base_wall.median * 1e6 / pixels, PeakKib(base_runs) * 1024.0 / pixels);
  return 0;
}
