// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <cstddef>
#include <string_view>

#include "console/line_consumer.h"
#include "table/hash_table.h"

namespace wordhash {

class ConsoleIO;

// What a search needs to know of its word: its home slot, and which slots hold it.
struct WordMatches {
  int home = 0;
  std::array<bool, TableSize> held_by{};
};

// Finds, as a searched word's bytes arrive, its home slot and which slots hold it, without
// keeping the word: each piece is compared with every slot still matching at its offset.
class SlotMatcher final : public LineConsumer {
 public:
  explicit SlotMatcher(const HashTable& table);
  void Take(std::string_view bytes) override;
  WordMatches Matches() const;

 private:
  const HashTable& table_;
  WordHasher hasher_;
  std::size_t offset_ = 0;  // how many bytes of the word have arrived
  std::array<bool, TableSize> matching_{};
};

// Writes where the word is, or that it is absent, with the comparison count.
void FindWord(ConsoleIO& console, const HashTable& table, const WordMatches& matches);

}  // namespace wordhash
