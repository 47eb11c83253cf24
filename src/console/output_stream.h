// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "platform/system_interface.h"

namespace wordhash {

// Standard output through a 128-byte buffer. On a terminal every push reaches the device;
// on a file or pipe the device sees blocks of exactly 128 bytes and the rest at the end.
// Failures are stored in the shared pending code for the statement check.
class OutputStream {
 public:
  static constexpr std::size_t kBufferSize = 128;

  OutputStream(SystemInterface& system, std::int32_t& pending_code)
      : system_(system), pending_code_(pending_code) {}

  // Once a statement has failed, nothing more of it is kept: bytes after a gap would corrupt
  // the output, and the failure ends the program before another statement runs.
  void Append(std::string_view bytes) {
    // Most appends are a few bytes into a buffer with room: copy them here, where short
    // constant-size copies are inlined.
    if (attached_ && pending_code_ == 0 && bytes.size() < kBufferSize &&
        pending_ < kBufferSize - bytes.size()) {
      std::memcpy(buffer_.data() + pending_, bytes.data(), bytes.size());
      pending_ += bytes.size();
      return;
    }
    AppendFillingBuffer(bytes);
  }
  // End of a line or a prompt: on a terminal, the buffer goes to the device now.
  void Push();
  // Hands every pending byte to the device, whatever the device.
  void Flush();

 private:
  bool Attach();
  void AppendFillingBuffer(std::string_view bytes);
  void WriteBuffer();

  SystemInterface& system_;
  std::int32_t& pending_code_;
  bool attached_ = false;
  bool push_mode_ = false;
  std::size_t pending_ = 0;
  std::array<char, kBufferSize> buffer_{};
};

}  // namespace wordhash
