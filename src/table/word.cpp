// SPDX-License-Identifier: MIT
#include "table/word.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>

namespace wordhash {

Word::~Word() {
  std::free(bytes_);
}

void Word::Append(std::string_view bytes) {
  if (bytes.empty()) {
    return;
  }
  if (bytes.size() > capacity_ - size_) {
    Grow(size_ + bytes.size());
  }
  std::memcpy(bytes_ + size_, bytes.data(), bytes.size());
  size_ += bytes.size();
}

void Word::Grow(std::size_t needed) {
  // Doubling keeps the number of growth steps logarithmic in the word's length. When memory
  // is too short for that, a huge word may still fit: ask for what it needs and a little
  // more, so that the next pieces do not each need a step of their own.
  constexpr std::size_t kFirstCapacity = 32;
  constexpr std::size_t kSnugStep = std::size_t{1} << 20;
  const std::size_t doubled = std::max({needed, 2 * capacity_, kFirstCapacity});
  const std::size_t snug = needed + (kSnugStep - needed % kSnugStep) % kSnugStep;
  if (!TryReallocate(doubled) && (snug >= doubled || !TryReallocate(snug))) {
    throw std::bad_alloc();
  }
}

void Word::ShrinkToFit() {
  // Only a large block's slack is worth a call: whole pages of a mapping of its own. Short
  // words, stored at every add, keep theirs.
  constexpr std::size_t kWorthGivingBack = std::size_t{1} << 20;
  if (capacity_ - size_ >= kWorthGivingBack && size_ > 0) {
    TryReallocate(size_);  // a shrink that fails leaves the larger block, which is as good
  }
}

bool Word::TryReallocate(std::size_t capacity) {
  void* grown = std::realloc(bytes_, capacity);
  if (grown == nullptr) {
    return false;
  }
  bytes_ = static_cast<char*>(grown);
  capacity_ = capacity;
  return true;
}

}  // namespace wordhash
