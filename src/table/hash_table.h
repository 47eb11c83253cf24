// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "table/word.h"

namespace wordhash {

class ConsoleIO;

// Twelve word slots addressed by an additive hash and filled by linear probing. The empty
// word marks a free slot; words are byte strings, compared byte for byte.
constexpr int TableSize = 12;
using HashTable = std::array<Word, TableSize>;

// The sum of a word's bytes, taken unsigned, fed a piece at a time as the word arrives. A
// 64-bit sum cannot overflow for any word that fits in memory.
class WordHasher {
 public:
  void Add(std::string_view bytes);
  // The word's home slot: the sum modulo TableSize.
  int HomeSlot() const { return static_cast<int>(sum_ % TableSize); }

 private:
  std::uint64_t sum_ = 0;
};

// The home slot of a whole word.
inline int HashWord(std::string_view word) {
  WordHasher hasher;
  hasher.Add(word);
  return hasher.HomeSlot();
}

// Empties the slots 0 to highest_index.
void ClearTable(HashTable& table, int highest_index);
// One line per slot, 0 to highest_index: the index, ": " and the slot's bytes.
void PrintTable(ConsoleIO& console, const HashTable& table, int highest_index);

}  // namespace wordhash
