// SPDX-License-Identifier: MIT
#include "console/output_stream.h"

#include <algorithm>

#include "platform/error_codes.h"

namespace wordhash {

bool OutputStream::Attach() {
  if (attached_) {
    return true;
  }
  const SystemInterface::Device device = system_.AttachOutput();
  if (device == SystemInterface::Device::kMissing) {
    pending_code_ = error_code::kOutputCannotBeAttached;
    return false;
  }
  push_mode_ = device == SystemInterface::Device::kTerminal;
  attached_ = true;
  return true;
}

void OutputStream::AppendFillingBuffer(std::string_view bytes) {
  if (pending_code_ != 0 || !Attach()) {
    return;
  }
  while (bytes.size() >= kBufferSize - pending_) {
    const std::size_t room = kBufferSize - pending_;
    std::copy_n(bytes.data(), room, buffer_.data() + pending_);
    pending_ = kBufferSize;
    bytes.remove_prefix(room);
    WriteBuffer();
    if (pending_code_ != 0) {
      return;
    }
  }
  std::copy_n(bytes.data(), bytes.size(), buffer_.data() + pending_);
  pending_ += bytes.size();
}

void OutputStream::Push() {
  if (attached_ && push_mode_) {
    WriteBuffer();
  }
}

void OutputStream::Flush() {
  if (attached_) {
    WriteBuffer();
  }
}

void OutputStream::WriteBuffer() {
  if (pending_ == 0) {
    return;
  }
  const int error = system_.WriteOutput(std::string_view(buffer_.data(), pending_));
  pending_ = 0;
  if (error != 0) {
    pending_code_ = error;
  }
}

}  // namespace wordhash
