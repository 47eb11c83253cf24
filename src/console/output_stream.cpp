#include "console/output_stream.h"

#include <algorithm>

bool OutputStream::Attach() {
  if (state_ != State::kUnattached) {
    return true;
  }
  const SystemInterface::Device device = system_.AttachOutput();
  if (device == SystemInterface::Device::kMissing) {
    pending_code_ = kCannotAttach;
    return false;
  }
  push_mode_ = device == SystemInterface::Device::kTerminal;
  state_ = State::kAttached;
  return true;
}

void OutputStream::AppendFillingBuffer(std::string_view bytes) {
  // After a failed write everything else is dropped: bytes after a gap would corrupt the
  // output, and the failure is reported before any later statement runs.
  if (!Attach() || state_ == State::kBroken) {
    return;
  }
  while (bytes.size() >= kBufferSize - pending_) {
    const std::size_t room = kBufferSize - pending_;
    std::copy_n(bytes.data(), room, buffer_.data() + pending_);
    pending_ = kBufferSize;
    bytes.remove_prefix(room);
    WriteBuffer();
    if (state_ == State::kBroken) {
      return;
    }
  }
  std::copy_n(bytes.data(), bytes.size(), buffer_.data() + pending_);
  pending_ += bytes.size();
}

void OutputStream::Push() {
  if (state_ == State::kAttached && push_mode_) {
    WriteBuffer();
  }
}

void OutputStream::Flush() {
  if (state_ == State::kAttached) {
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
    state_ = State::kBroken;
  }
}
