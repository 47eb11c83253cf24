#include "table/hash_table.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <numeric>

int HashWord(std::string_view word) {
  // Sums of a block this size cannot overflow 64 bits, so the result is exact at any length.
  constexpr std::size_t kBlock = static_cast<std::size_t>(
      std::min<std::uint64_t>(std::numeric_limits<std::size_t>::max(), std::uint64_t{1} << 32));
  std::uint64_t remainder = 0;
  while (!word.empty()) {
    const std::string_view block = word.substr(0, kBlock);
    const std::uint64_t sum = std::accumulate(
        block.begin(), block.end(), std::uint64_t{0},
        [](std::uint64_t total, char byte) { return total + static_cast<unsigned char>(byte); });
    remainder = (remainder + sum % TableSize) % TableSize;
    word.remove_prefix(block.size());
  }
  return static_cast<int>(remainder);
}

void ClearTable(HashTable& table, int highest_index) {
  std::for_each(table.begin(), table.begin() + highest_index + 1, [](std::string& slot) {
    std::string().swap(slot);  // releases the storage, not just the contents
  });
}
