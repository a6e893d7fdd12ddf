// POSIX files, clock and stop signals.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <ctime>

#include "common/output_file.h"
#include "common/platform.h"
#include "common/text_format.h"

namespace common {

bool ReadWholeFile(const std::string& path, std::string* bytes) {
  bytes->clear();
  // Non-blocking open: a FIFO or a device named as the image must not hang
  // the run; it is refused below as not a regular file.
  int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return false;
  struct stat st;
  if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size < 0) {
    close(fd);
    return false;
  }
  size_t size = static_cast<size_t>(st.st_size);
  try {
    bytes->resize(size);
  } catch (...) {  // no memory for the file: an unreadable file
    close(fd);
    return false;
  }
  size_t got = 0;
  while (got < size) {
    ssize_t n = read(fd, &(*bytes)[got], size - got);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    got += static_cast<size_t>(n);
  }
  close(fd);
  if (got < size) {
    bytes->clear();
    return false;
  }
  return true;
}

int CreateFileForWriting(const std::string& path) {
  int fd;
  do {
    fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  } while (fd < 0 && errno == EINTR);
  return fd;
}

bool WriteAll(int handle, const char* data, size_t n) {
  while (n > 0) {
    ssize_t written = write(handle, data, n);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    data += written;
    n -= static_cast<size_t>(written);
  }
  return true;
}

bool CloseFile(int handle) { return close(handle) == 0 || errno == EINTR; }

Moment CurrentMoment() {
  std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return Moment{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
                local.tm_hour,        local.tm_min,     local.tm_sec};
}

namespace {

// The signals that stop a run. SIGPIPE joins the three stop signals of the
// interface: a console reader that went away is a console that was closed.
constexpr int kStopSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGPIPE};

OutputFile* volatile registered_output = nullptr;

// Only async-signal-safe calls from here on: this runs inside the handler.
[[noreturn]] void EndProcess(int signal_number) {
  // Die of the signal itself, so that a shell or make sees what ended us.
  // Inside the handler the signal is blocked; unblocking it after restoring
  // the default action delivers the raised signal at once.
  struct sigaction fallback {};
  fallback.sa_handler = SIG_DFL;
  sigemptyset(&fallback.sa_mask);
  sigaction(signal_number, &fallback, nullptr);
  raise(signal_number);
  sigset_t unblock;
  sigemptyset(&unblock);
  sigaddset(&unblock, signal_number);
  sigprocmask(SIG_UNBLOCK, &unblock, nullptr);
  _exit(128 + signal_number);
}

void OnStopSignal(int signal_number) {
  int saved_errno = errno;
  OutputFile* file = registered_output;
  if (file != nullptr && !file->FlushFromSignal()) {
    // Main code is handing the buffer over; it ends the process right after.
    OutputFile::stop_signal = signal_number;
    errno = saved_errno;
    return;
  }
  EndProcess(signal_number);
}

}  // namespace

void InstallStopSignals() {
  struct sigaction action {};
  action.sa_handler = OnStopSignal;
  sigemptyset(&action.sa_mask);
  for (int signal_number : kStopSignals) {
    sigaddset(&action.sa_mask, signal_number);
  }
  action.sa_flags = 0;
  for (int signal_number : kStopSignals) {
    sigaction(signal_number, &action, nullptr);
  }
  // A write beyond the file size limit then fails like a full disk and is
  // reported, instead of killing the process with its buffer unwritten.
  struct sigaction ignore {};
  ignore.sa_handler = SIG_IGN;
  sigemptyset(&ignore.sa_mask);
  sigaction(SIGXFSZ, &ignore, nullptr);
}

void RegisterOutputForSignals(OutputFile* file) { registered_output = file; }

void EndForSignal(int signal_number) {
  OutputFile* file = registered_output;
  if (file != nullptr) file->FlushFromSignal();
  EndProcess(signal_number);
}

}  // namespace common
