// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <string_view>

#include "table/hash_table.h"

namespace wordhash {

class ConsoleIO;
class HashedWord;

// The table's operations; each writes its own result lines.

// One line per slot, 0 to highest_index: the index, ": " and the slot's bytes.
void PrintTable(ConsoleIO& console, const HashTable& table, int highest_index);

// Stores the word at its home slot or the next free slot after it, and writes the comparison
// count. Returns false when every slot was taken and the word was not stored. A word equal to
// the one at its home slot is not stored again.
bool AddWord(ConsoleIO& console, HashTable& table, HashedWord&& word);

// What a search needs to know of its word: its home slot, and which slots hold it.
struct WordMatches {
  int home = 0;
  std::array<bool, TableSize> held_by{};
};
// Writes where the word is, or that it is absent, with the comparison count.
void FindWord(ConsoleIO& console, const HashTable& table, const WordMatches& matches);

}  // namespace wordhash
