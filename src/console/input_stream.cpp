// SPDX-License-Identifier: MIT
#include "console/input_stream.h"

#include <cstring>

#include "platform/error_codes.h"

namespace wordhash {

namespace {

constexpr unsigned char kLineFeed = '\n';

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

std::size_t InputStream::FindFirstOf(std::size_t from, std::string_view bytes) const {
  // One vectorised memchr per byte value beats a byte-by-byte loop over a 128-byte buffer.
  const char* const begin = buffer_.data() + from;
  std::size_t length = end_ - from;
  for (const char byte : bytes) {
    if (const void* hit = std::memchr(begin, byte, length)) {
      length = static_cast<std::size_t>(static_cast<const char*>(hit) - begin);
    }
  }
  return from + length;
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
      continue;
    }
    position_ = FindFirstOf(position_, "\n\x1a");
    if (position_ == end_) {
      continue;
    }
    if (Byte(position_) == kLineFeed) {
      ++position_;
      return true;
    }
    return false;
  }
}

std::size_t InputStream::ReadLineInto(LineConsumer& consumer) {
  std::size_t handed_over = 0;
  for (;;) {
    if (position_ == end_) {
      // The first byte of a refill comes through a byte read, so that a 26 there stays
      // pending; any other byte is put back and scanned with the rest.
      if (ReadByte() == kEndOfInput) {
        return handed_over;
      }
      --position_;
    }
    const std::size_t stop = FindFirstOf(position_, "\n\r\x1a");
    if (stop > position_) {
      consumer.Take(std::string_view(buffer_.data() + position_, stop - position_));
      handed_over += stop - position_;
      position_ = stop;
    }
    if (position_ == end_) {
      continue;
    }
    const unsigned char byte = Byte(position_);
    if (byte == kLineFeed) {
      return handed_over;
    }
    ++position_;  // a CR is dropped; a 26 met while scanning is consumed
    if (byte == kEndOfInput) {
      return handed_over;
    }
  }
}

}  // namespace wordhash
