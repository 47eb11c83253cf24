// SPDX-License-Identifier: MIT
#include <utility>

#include "console/console_io.h"
#include "table/table_operations.h"
#include "table/word_commands.h"

namespace {

// Stores the word's bytes as they arrive, summing them for the home slot on the way.
class WordCollector final : public LineConsumer {
 public:
  void Take(std::string_view bytes) override {
    word_.Append(bytes);
    hasher_.Add(bytes);
  }
  bool empty() const { return word_.empty(); }
  int HomeSlot() const { return hasher_.HomeSlot(); }
  Word TakeWord() {
    word_.ShrinkToFit();
    return std::move(word_);
  }

 private:
  Word word_;
  WordHasher hasher_;
};

}  // namespace

bool AddWord(ConsoleIO& console, HashTable& table, Word&& word, int home) {
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
    *free_slot = std::move(word);
  }
  console.WriteText("Comparies: ");
  console.WriteInteger(comparisons);
  console.EndLine();
  return already_home || free_slot != nullptr;
}

AfterCommand RunAddCommand(ConsoleIO& console, HashTable& table) {
  WordCollector word;
  while (word.empty()) {
    console.WritePrompt("Enter Slovo: ");
    if (console.ReadWord(word) == WordRead::kInputEnded) {
      return AfterCommand::kEndOfRun;
    }
  }
  const int home = word.HomeSlot();
  if (AddWord(console, table, word.TakeWord(), home)) {
    console.WriteInteger(home);
  } else {
    console.WriteText("Nelza dobavit v hash table");
  }
  console.EndLine();
  return AfterCommand::kNextCommand;
}
