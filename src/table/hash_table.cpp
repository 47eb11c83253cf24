// SPDX-License-Identifier: MIT
#include "table/hash_table.h"

#include <algorithm>

void WordHasher::Add(std::string_view bytes) {
  // A local sum: one kept in the member would be stored at every byte (the bytes might alias
  // it), which also keeps the loop from being vectorised.
  std::uint64_t sum = 0;
  for (const char byte : bytes) {
    sum += static_cast<unsigned char>(byte);
  }
  sum_ += sum;
}

int HashWord(std::string_view word) {
  WordHasher hasher;
  hasher.Add(word);
  return hasher.HomeSlot();
}

void ClearTable(HashTable& table, int highest_index) {
  std::for_each(table.begin(), table.begin() + highest_index + 1,
                [](Word& slot) { slot = Word(); });
}
