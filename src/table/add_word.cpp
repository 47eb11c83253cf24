// SPDX-License-Identifier: MIT
#include "table/add_word.h"

#include "console/console_io.h"

namespace wordhash {

bool AddWord(ConsoleIO& console, HashTable& table, HashedWord&& word) {
  const int home = word.HomeSlot();
  std::int32_t comparisons = 1;  // everything done at the home slot counts once
  Word& home_slot = table[static_cast<std::size_t>(home)];
  const bool already_home = home_slot == word.View();
  Word* free_slot = nullptr;
  if (already_home) {
    console.WriteText("Kluch uge dobavlalsa!!.");
    console.EndLine();
  } else if (home_slot.empty()) {
    free_slot = &home_slot;
  } else {
    // Past the home slot only emptiness is tested, so a copy stored further along is not
    // recognised and the word is stored again.
    for (int step = 1; step < TableSize && free_slot == nullptr; ++step) {
      ++comparisons;
      Word& slot = table[static_cast<std::size_t>((home + step) % TableSize)];
      if (slot.empty()) {
        free_slot = &slot;
      }
    }
  }
  if (free_slot != nullptr) {
    *free_slot = word.TakeBytes();
  }
  console.WriteText("Comparies: ");
  console.WriteInteger(comparisons);
  console.EndLine();
  return already_home || free_slot != nullptr;
}

}  // namespace wordhash
