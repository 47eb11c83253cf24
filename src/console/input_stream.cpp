// SPDX-License-Identifier: MIT
#include "console/input_stream.h"

#include <cstring>

#include "platform/error_codes.h"

namespace wordhash {

namespace {

constexpr unsigned char kLineFeed = '\n';
constexpr unsigned char kCarriageReturn = '\r';

}  // namespace

bool InputStream::Attach() {
  if (!attached_) {
    attached_ = system_.AttachInput();
    if (!attached_) {
      pending_code_ = error_code::kInputCannotBeAttached;
    }
  }
  return attached_;
}

bool InputStream::Refill() {
  position_ = 0;
  end_ = 0;
  const SystemInterface::ReadResult result = system_.ReadInput(buffer_);
  if (result.error != 0) {
    // No marker: the next byte read asks the device again.
    pending_code_ = result.error;
    return false;
  }
  if (result.bytes == 0) {
    buffer_[0] = static_cast<char>(kEndOfInput);
    end_ = 1;
  } else {
    end_ = result.bytes;
  }
  return true;
}

unsigned char InputStream::ReadByte() {
  if (!Attach() || (position_ == end_ && !Refill())) {
    return kEndOfInput;
  }
  const unsigned char byte = Byte(position_);
  if (byte != kEndOfInput) {
    ++position_;
  }
  return byte;
}

bool InputStream::SkipLine() {
  // A CR alone does not end a line, so only LF and end of input stop the skip.
  for (;;) {
    if (position_ == end_) {
      const unsigned char byte = ReadByte();
      if (byte == kLineFeed || byte == kEndOfInput) {
        return byte == kLineFeed;
      }
    }
    for (; position_ < end_; ++position_) {
      const unsigned char byte = Byte(position_);
      if (byte == kLineFeed) {
        ++position_;
        return true;
      }
      if (byte == kEndOfInput) {
        return false;  // it stays pending
      }
    }
  }
}

void InputStream::HandOverWithoutCarriageReturns(LineConsumer& consumer, std::size_t from,
                                                 std::size_t to) {
  char* const piece = buffer_.data() + from;
  const std::size_t size = to - from;
  // Most pieces hold no CR and go to the consumer as they lie in the buffer. Where one holds
  // a CR, the bytes from there on are squeezed together in place (the bytes before the read
  // position are never read again), so that even a line full of CRs costs a pass over its
  // bytes and one hand-over per device read.
  char* kept_end = piece + size;
  if (auto* const first_cr = static_cast<char*>(std::memchr(piece, kCarriageReturn, size))) {
    kept_end = first_cr;
    // Unrolled, this loop costs half of what it does rolled: a few instructions a byte.
#pragma GCC unroll 8
    for (const char* next = first_cr + 1; next != piece + size; ++next) {
      const char byte = *next;
      *kept_end = byte;
      kept_end += byte != static_cast<char>(kCarriageReturn) ? 1 : 0;
    }
  }
  if (kept_end != piece) {
    consumer.Take(std::string_view(piece, static_cast<std::size_t>(kept_end - piece)));
  }
}

bool InputStream::ReadLineInto(LineConsumer& consumer) {
  for (bool line_started = false;; line_started = true) {
    if (position_ == end_) {
      // The first byte of a refill comes through a byte read, so that a 26 there stays
      // pending; any other byte is put back and handed over with the rest.
      if (ReadByte() == kEndOfInput) {
        return line_started;
      }
      --position_;
    }
    // The line ends at its LF, which stays pending, or at a 26 before it, which is consumed.
    const char* const pending = buffer_.data() + position_;
    std::size_t size = end_ - position_;
    const void* const line_feed = std::memchr(pending, kLineFeed, size);
    if (line_feed != nullptr) {
      size = static_cast<std::size_t>(static_cast<const char*>(line_feed) - pending);
    }
    const void* const marker = std::memchr(pending, kEndOfInput, size);
    if (marker != nullptr) {
      size = static_cast<std::size_t>(static_cast<const char*>(marker) - pending);
    }
    HandOverWithoutCarriageReturns(consumer, position_, position_ + size);
    position_ += size;
    if (marker != nullptr) {
      ++position_;
      return true;
    }
    if (line_feed != nullptr) {
      return true;
    }
  }
}

}  // namespace wordhash
