// SPDX-License-Identifier: MIT
#include "table/word.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>

#include "console/memory_advice.h"

Word::~Word() {
  std::free(bytes_);
}

void Word::Append(std::string_view bytes) {
  if (bytes.empty()) {
    return;
  }
  if (bytes.size() > capacity_ - size_) {
    // Doubling keeps the number of growth steps logarithmic in the word's length.
    constexpr std::size_t kFirstCapacity = 32;
    Reallocate(std::max({size_ + bytes.size(), 2 * capacity_, kFirstCapacity}));
  }
  std::memcpy(bytes_ + size_, bytes.data(), bytes.size());
  size_ += bytes.size();
}

void Word::ShrinkToFit() {
  // Only a large block's slack is worth a call: whole pages of a mapping of its own. Short
  // words, stored at every add, keep theirs.
  constexpr std::size_t kWorthGivingBack = std::size_t{1} << 20;
  if (size_ == 0 || capacity_ - size_ < kWorthGivingBack) {
    return;
  }
  // A shrink that fails leaves the larger block, which is as good.
  if (void* shrunk = std::realloc(bytes_, size_); shrunk != nullptr) {
    bytes_ = static_cast<char*>(shrunk);
    capacity_ = size_;
  }
}

void Word::Reallocate(std::size_t capacity) {
  void* grown = std::realloc(bytes_, capacity);
  if (grown == nullptr) {
    throw std::bad_alloc();
  }
  bytes_ = static_cast<char*>(grown);
  capacity_ = capacity;
  AdviseLargeBlock(bytes_, capacity_);
}
