// The output text file: lines collected in a 64 KiB buffer and handed to
// the file in large writes, each line ending in CR LF. Tests and the fuzzer
// send the same lines into a string instead of a file.
#ifndef COMMON_OUTPUT_FILE_H_
#define COMMON_OUTPUT_FILE_H_

#include <csignal>
#include <cstddef>
#include <string>
#include <string_view>

#include "common/status.h"

namespace common {

class OutputFile {
 public:
  // The file's content does not depend on it. The file system takes in
  // 8 MiB of text in 4096-byte writes about three times slower than in
  // writes of 64 KiB (14 ms against 4 here), a tenth of a big sheet's run.
  static constexpr size_t kBufferSize = 64 * 1024;

  // A file with no destination: every line is swallowed.
  OutputFile() = default;
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;
  ~OutputFile() { Close(); }

  // Creates (or empties) the file at path. kCreateFailed leaves the file
  // without destination, so later lines are lost.
  Status Create(const std::string& path);

  // Sends every line into *text, which must outlive this object or Close().
  void CaptureTo(std::string* text);

  // Appends the text's bytes and CR LF. Does nothing without destination.
  void WriteLine(std::string_view text);

  // Hands every buffered byte over and closes the file. kWriteFailed when
  // the file system refused any byte since Create, kOk otherwise (also for a
  // file that was never created). Closing twice is harmless.
  Status Close();

  bool write_failed() const { return write_failed_; }

  // For the stop signals only: writes the complete lines held in the buffer
  // and closes the handle, using only calls that are safe in a signal
  // handler. Returns false when main code is handing the buffer over at
  // that moment; main code then calls EndForSignal itself.
  bool FlushFromSignal();

  // Set by a signal that arrived while the buffer was being handed over.
  static volatile std::sig_atomic_t stop_signal;

 private:
  // Sends bytes to the destination, noting a refused write.
  void HandOver(const char* data, size_t n);
  void Flush();

  int handle_ = -1;
  std::string* memory_ = nullptr;
  bool write_failed_ = false;
  char buffer_[kBufferSize];
  size_t fill_ = 0;
  // Bytes of whole lines in the buffer, and whether main code is flushing:
  // what the signal handler may look at.
  volatile std::sig_atomic_t complete_ = 0;
  volatile std::sig_atomic_t flushing_ = 0;
};

}  // namespace common

#endif  // COMMON_OUTPUT_FILE_H_
