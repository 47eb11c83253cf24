// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <string_view>
#include <utility>

namespace wordhash {

// A word's bytes in one heap block that grows in place. A large block is its own mapping
// (the platform's set-up sees to it where the allocator can be told), which realloc grows by
// remapping its pages rather than copying them, so that even a huge word is written once and
// held once.
class Word {
 public:
  Word() = default;
  explicit Word(std::string_view bytes) { Append(bytes); }
  Word(const Word& other) : Word(other.View()) {}
  Word(Word&& other) noexcept
      : bytes_(std::exchange(other.bytes_, nullptr)),
        size_(std::exchange(other.size_, 0)),
        capacity_(std::exchange(other.capacity_, 0)) {}
  Word& operator=(Word other) noexcept {
    std::swap(bytes_, other.bytes_);
    std::swap(size_, other.size_);
    std::swap(capacity_, other.capacity_);
    return *this;
  }
  ~Word();

  // Throws std::bad_alloc when the block cannot grow; the word is then unchanged.
  void Append(std::string_view bytes);
  // Gives back the room grown beyond the bytes, where it is large enough to matter: a stored
  // word then holds no more address space than its size.
  void ShrinkToFit();

  // Never a null pointer, even for the empty word: memcpy and memcmp may not be handed one.
  std::string_view View() const { return {bytes_ != nullptr ? bytes_ : "", size_}; }
  bool empty() const { return size_ == 0; }

  friend bool operator==(const Word& word, std::string_view bytes) { return word.View() == bytes; }
  friend bool operator==(const Word& one, const Word& other) { return one.View() == other.View(); }

 private:
  // Makes room for `needed` bytes in all; throws std::bad_alloc when it cannot.
  void Grow(std::size_t needed);
  // False when the block could not be given that capacity; it is then unchanged.
  bool TryReallocate(std::size_t capacity);

  char* bytes_ = nullptr;
  std::size_t size_ = 0;
  std::size_t capacity_ = 0;
};

}  // namespace wordhash
