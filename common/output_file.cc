#include "common/output_file.h"

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
  Append(text.data(), text.size());
  Append("\r\n", 2);
  complete_ = static_cast<std::sig_atomic_t>(fill_);
}

void OutputFile::Append(const char* data, size_t n) {
  if (n < kBufferSize - fill_) {
    std::memcpy(buffer_ + fill_, data, n);
    fill_ += n;
    return;
  }
  Flush();
  if (n >= kBufferSize) {
    flushing_ = 1;
    if (memory_ != nullptr) {
      memory_->append(data, n);
    } else if (!write_failed_ && !WriteAll(handle_, data, n)) {
      write_failed_ = true;
    }
    flushing_ = 0;
    if (stop_signal != 0) EndForSignal(stop_signal);
    return;
  }
  std::memcpy(buffer_, data, n);
  fill_ = n;
}

void OutputFile::Flush() {
  if (fill_ == 0) return;
  flushing_ = 1;
  if (memory_ != nullptr) {
    memory_->append(buffer_, fill_);
  } else if (handle_ >= 0 && !write_failed_ &&
             !WriteAll(handle_, buffer_, fill_)) {
    // After a refused write later lines are dropped rather than written
    // with a hole before them.
    write_failed_ = true;
  }
  fill_ = 0;
  complete_ = 0;
  flushing_ = 0;
  if (stop_signal != 0) EndForSignal(stop_signal);
}

Status OutputFile::Close() {
  Flush();
  memory_ = nullptr;
  if (handle_ >= 0) {
    if (!CloseFile(handle_)) write_failed_ = true;
    handle_ = -1;
  }
  return write_failed_ ? Status::kWriteFailed : Status::kOk;
}

bool OutputFile::FlushFromSignal() {
  if (flushing_ != 0) return false;
  int handle = handle_;
  if (handle < 0) return true;
  handle_ = -1;
  if (!write_failed_) WriteAll(handle, buffer_, complete_);
  CloseFile(handle);
  return true;
}

}  // namespace common
