#include <utility>

#include "console/console_io.h"
#include "table/hash_table.h"

bool AddWord(ConsoleIO& console, HashTable& table, std::string&& word) {
  const int home = HashWord(word);
  std::int32_t comparisons = 1;  // everything done at the home slot counts once
  std::string& home_slot = table[static_cast<std::size_t>(home)];
  const bool already_home = home_slot == word;
  std::string* free_slot = nullptr;
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
      std::string& slot = table[static_cast<std::size_t>((home + step) % TableSize)];
      if (slot.empty()) {
        free_slot = &slot;
      }
    }
  }
  if (free_slot != nullptr) {
    *free_slot = std::move(word);
  }
  console.WriteText("Comparies: ");
  console.WriteInteger(comparisons);
  console.EndLine();
  return already_home || free_slot != nullptr;
}

bool RunAddCommand(ConsoleIO& console, HashTable& table) {
  std::string word;
  while (word.empty()) {
    console.WritePrompt("Enter Slovo: ");
    word = console.ReadWord();
    if (word.empty() && console.AtEndOfInput()) {
      return false;
    }
  }
  const int home = HashWord(word);
  if (AddWord(console, table, std::move(word))) {
    console.WriteInteger(home);
  } else {
    console.WriteText("Nelza dobavit v hash table");
  }
  console.EndLine();
  return true;
}
