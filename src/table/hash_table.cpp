// SPDX-License-Identifier: MIT
#include "table/hash_table.h"

#include <algorithm>
#include <cstring>

#include "console/console_io.h"

namespace wordhash {

void WordHasher::Add(std::string_view bytes) {
  // Sixteen bytes a step, added pairwise into four 16-bit lanes of a 64-bit word: a lane
  // grows by at most 4 * 255 a step, so 64 steps cannot overflow it. Huge words pass through
  // here whole, so this loop is much of the program's own work on them.
  constexpr std::uint64_t kLowBytes = 0x00FF00FF00FF00FFu;
  constexpr std::size_t kStepBytes = 16;
  constexpr std::size_t kStepsPerFold = 64;
  const auto lanes_of = [](std::uint64_t eight) {
    return (eight & kLowBytes) + ((eight >> 8) & kLowBytes);
  };
  const char* next = bytes.data();
  std::size_t left = bytes.size();
  while (left >= kStepBytes) {
    const std::size_t steps = std::min(left / kStepBytes, kStepsPerFold);
    std::uint64_t lanes = 0;
    for (const char* const end = next + steps * kStepBytes; next != end; next += kStepBytes) {
      std::uint64_t first = 0;
      std::uint64_t second = 0;
      std::memcpy(&first, next, sizeof first);
      std::memcpy(&second, next + sizeof first, sizeof second);
      lanes += lanes_of(first) + lanes_of(second);
    }
    left -= steps * kStepBytes;
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
