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
  if (size_ < capacity_) {
    Reallocate(size_);
  }
}

void Word::Reallocate(std::size_t capacity) {
  if (capacity == 0) {
    std::free(std::exchange(bytes_, nullptr));
    capacity_ = 0;
    return;
  }
  void* grown = std::realloc(bytes_, capacity);
  if (grown == nullptr) {
    throw std::bad_alloc();
  }
  bytes_ = static_cast<char*>(grown);
  capacity_ = capacity;
  AdviseLargeBlock(bytes_, capacity_);
}
