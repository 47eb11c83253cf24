#include "console/input_stream.h"

#include <cstring>
#include <numeric>
#include <utility>
#include <vector>

namespace {

constexpr unsigned char kLineFeed = '\n';
constexpr unsigned char kCarriageReturn = '\r';

}  // namespace

bool InputStream::Attach() {
  if (!attached_) {
    attached_ = system_.AttachInput() != SystemInterface::Device::kMissing;
    if (!attached_) {
      pending_code_ = kCannotAttach;
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

void InputStream::SkipLine() {
  // A CR alone does not end a line, so only LF and end of input stop the skip.
  for (;;) {
    if (position_ == end_) {
      const unsigned char byte = ReadByte();
      if (byte == kLineFeed || byte == kEndOfInput) {
        return;
      }
      continue;
    }
    position_ = FindFirstOf(position_, "\n\x1a");
    if (position_ == end_) {
      continue;
    }
    if (Byte(position_) == kLineFeed) {
      ++position_;
    }
    return;
  }
}

namespace {

// A long line is read in pieces of this size, joined once at the end: growing one string
// would copy it at every doubling and briefly hold it twice.
constexpr std::size_t kPieceSize = std::size_t{1} << 20;

std::string JoinPieces(std::vector<std::string>& pieces, const std::string& last) {
  const std::size_t total =
      std::accumulate(pieces.begin(), pieces.end(), last.size(),
                      [](std::size_t sum, const std::string& piece) { return sum + piece.size(); });
  std::string joined;
  joined.reserve(total);
  for (std::string& piece : pieces) {
    joined.append(piece);
    std::string().swap(piece);  // each piece goes as soon as it is copied
  }
  joined.append(last);
  return joined;
}

}  // namespace

void InputStream::ReadLineInto(std::string& word) {
  std::vector<std::string> pieces;
  ReadLinePieces(word, pieces);
  if (!pieces.empty()) {
    word = JoinPieces(pieces, word);
  }
}

void InputStream::ReadLinePieces(std::string& word, std::vector<std::string>& pieces) {
  for (;;) {
    if (word.size() >= kPieceSize) {
      pieces.push_back(std::move(word));
      word = std::string();
      word.reserve(kPieceSize + kBufferSize);
    }
    if (position_ == end_) {
      // The first byte of a refill comes through a byte read, so a 26 there stays pending.
      const unsigned char byte = ReadByte();
      if (byte == kEndOfInput) {
        return;
      }
      if (byte == kLineFeed) {
        --position_;
        return;
      }
      if (byte != kCarriageReturn) {
        word.push_back(static_cast<char>(byte));
      }
      continue;
    }
    const std::size_t stop = FindFirstOf(position_, "\n\r\x1a");
    word.append(buffer_.data() + position_, stop - position_);
    position_ = stop;
    if (position_ == end_) {
      continue;
    }
    const unsigned char byte = Byte(position_);
    if (byte == kLineFeed) {
      return;
    }
    ++position_;  // a CR is dropped; a 26 met while scanning is consumed
    if (byte == kEndOfInput) {
      return;
    }
  }
}
