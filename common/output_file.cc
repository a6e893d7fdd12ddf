#include "common/output_file.h"

#include <atomic>
#include <cstring>

#include "common/platform.h"

namespace common {

volatile std::sig_atomic_t OutputFile::stop_signal = 0;

Status OutputFile::Create(const std::string& path) {
  Close();
  write_failed_ = false;
  handle_ = CreateFileForWriting(path);
  return handle_ < 0 ? Status::kCreateFailed : Status::kOk;
}

void OutputFile::CaptureTo(std::string* text) {
  Close();
  write_failed_ = false;
  memory_ = text;
}

void OutputFile::WriteLine(std::string_view text) {
  if (handle_ < 0 && memory_ == nullptr) return;
  size_t n = text.size() + 2;
  if (n >= kBufferSize - fill_) {
    Flush();
    if (n >= kBufferSize) {
      // A long line goes straight to the file, with its line end, as one
      // hand-over: a stop signal meanwhile waits until the line is whole.
      flushing_ = 1;
      HandOver(text.data(), text.size());
      HandOver("\r\n", 2);
      flushing_ = 0;
      if (stop_signal != 0) EndForSignal(stop_signal);
      return;
    }
  }
  std::memcpy(buffer_ + fill_, text.data(), text.size());
  std::memcpy(buffer_ + fill_ + text.size(), "\r\n", 2);
  fill_ += n;
  // The line's bytes are in the buffer before the signal handler may see
  // them counted.
  std::atomic_signal_fence(std::memory_order_release);
  complete_ = static_cast<std::sig_atomic_t>(fill_);
}

void OutputFile::HandOver(const char* data, size_t n) {
  if (memory_ != nullptr) {
    memory_->append(data, n);
  } else if (handle_ >= 0 && !write_failed_ && !WriteAll(handle_, data, n)) {
    // After a refused write later lines are dropped rather than written
    // with a hole before them.
    write_failed_ = true;
  }
}

void OutputFile::Flush() {
  if (fill_ == 0) return;
  flushing_ = 1;
  HandOver(buffer_, fill_);
  fill_ = 0;
  complete_ = 0;
  flushing_ = 0;
  if (stop_signal != 0) EndForSignal(stop_signal);
}

Status OutputFile::Close() {
  Flush();
  memory_ = nullptr;
  int handle = handle_;
  if (handle >= 0) {
    handle_ = -1;  // before the close, so a stop signal cannot close it twice
    if (!CloseFile(handle)) write_failed_ = true;
  }
  return write_failed_ ? Status::kWriteFailed : Status::kOk;
}

bool OutputFile::FlushFromSignal() {
  if (flushing_ != 0) return false;
  std::atomic_signal_fence(std::memory_order_acquire);
  int handle = handle_;
  if (handle < 0) return true;
  handle_ = -1;
  if (!write_failed_) WriteAll(handle, buffer_, complete_);
  CloseFile(handle);
  return true;
}

}  // namespace common
