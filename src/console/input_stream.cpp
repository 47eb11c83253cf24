// SPDX-License-Identifier: MIT
#include "console/input_stream.h"

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

void InputStream::HandOver(LineConsumer& consumer, std::size_t from, std::size_t to) const {
  if (to > from) {
    consumer.Take(std::string_view(buffer_.data() + from, to - from));
  }
}

bool InputStream::ReadLineInto(LineConsumer& consumer) {
  for (bool line_started = false;; line_started = true) {
    if (position_ == end_) {
      // The first byte of a refill comes through a byte read, so that a 26 there stays
      // pending; any other byte is put back and scanned with the rest.
      if (ReadByte() == kEndOfInput) {
        return line_started;
      }
      --position_;
    }
    // One pass over the pending bytes, each looked at once. CRs are squeezed out in place
    // (the bytes before the read position are never read again), so a line full of them
    // still reaches the consumer in one piece per device read.
    const std::size_t piece = position_;
    std::size_t kept = position_;
    for (; position_ < end_; ++position_) {
      const unsigned char byte = Byte(position_);
      if (byte == kLineFeed || byte == kEndOfInput) {
        HandOver(consumer, piece, kept);
        if (byte == kEndOfInput) {
          ++position_;  // a 26 met while scanning is consumed
        }
        return true;
      }
      if (byte != kCarriageReturn) {
        buffer_[kept++] = static_cast<char>(byte);
      }
    }
    HandOver(consumer, piece, kept);
  }
}

}  // namespace wordhash
