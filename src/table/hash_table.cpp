// SPDX-License-Identifier: MIT
#include "table/hash_table.h"

#include <algorithm>
#include <cstring>

#include "console/console_io.h"

namespace wordhash {

void WordHasher::Add(std::string_view bytes) {
  // Eight bytes at a time, added pairwise into four 16-bit lanes of a 64-bit word: a lane
  // grows by at most 510 a step, so 128 steps cannot overflow it. Huge words pass through
  // here whole, so this loop is most of the program's own work on them.
  constexpr std::uint64_t kLowBytes = 0x00FF00FF00FF00FFu;
  constexpr std::size_t kStepsPerFold = 128;
  const char* next = bytes.data();
  std::size_t left = bytes.size();
  while (left >= 8) {
    std::uint64_t lanes = 0;
    for (std::size_t step = 0; step < kStepsPerFold && left >= 8; ++step, next += 8, left -= 8) {
      std::uint64_t eight = 0;
      std::memcpy(&eight, next, sizeof eight);
      lanes += (eight & kLowBytes) + ((eight >> 8) & kLowBytes);
    }
    for (int lane = 0; lane < 4; ++lane, lanes >>= 16) {
      sum_ += lanes & 0xFFFFu;
    }
  }
  for (; left > 0; --left, ++next) {
    sum_ += static_cast<unsigned char>(*next);
  }
}

void ClearTable(HashTable& table, int highest_index) {
  std::for_each(table.begin(), table.begin() + highest_index + 1,
                [](Word& slot) { slot = Word(); });
}

void PrintTable(ConsoleIO& console, const HashTable& table, int highest_index) {
  for (int index = 0; index <= highest_index; ++index) {
    console.WriteInteger(index);
    console.WriteText(": ");
    console.WriteText(table[static_cast<std::size_t>(index)].View());
    console.EndLine();
  }
}

}  // namespace wordhash
