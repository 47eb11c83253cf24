// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "console/line_consumer.h"
#include "platform/system_interface.h"

namespace wordhash {

// Standard input through 128-byte device reads. When a read delivers no bytes the marker
// byte 26 becomes the buffer's only byte; a 26 in the input itself means the same. Failures
// are stored in the shared pending code for the statement check.
class InputStream {
 public:
  static constexpr std::size_t kBufferSize = 128;
  static constexpr unsigned char kEndOfInput = 26;

  InputStream(SystemInterface& system, std::int32_t& pending_code)
      : system_(system), pending_code_(pending_code) {}

  // The next byte, or kEndOfInput. A 26 is never read past: it stays at the read position.
  unsigned char ReadByte();
  // Discards input through the next LF. False when the input ended first: the end stays
  // pending.
  bool SkipLine();
  // Hands the current line up to its LF to the consumer, leaving out every CR. The LF stays
  // pending; a 26 ends the line too, consumed when it was already in the buffer, left pending
  // when a refill brought it first. False when the input ended before any byte of the line.
  bool ReadLineInto(LineConsumer& consumer);

 private:
  // The buffer's bytes [from, to) but their CRs to the consumer, if any are left.
  void HandOverWithoutCarriageReturns(LineConsumer& consumer, std::size_t from, std::size_t to);
  bool Attach();
  bool Refill();
  unsigned char Byte(std::size_t index) const { return static_cast<unsigned char>(buffer_[index]); }

  SystemInterface& system_;
  std::int32_t& pending_code_;
  bool attached_ = false;
  std::size_t position_ = 0;
  std::size_t end_ = 0;
  std::array<char, kBufferSize> buffer_{};
};

}  // namespace wordhash
