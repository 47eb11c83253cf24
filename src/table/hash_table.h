#pragma once

#include <array>
#include <string>
#include <string_view>

class ConsoleIO;

// Twelve word slots addressed by an additive hash and filled by linear probing. The empty
// string marks a free slot; words are byte strings, compared byte for byte.
constexpr int TableSize = 12;
using HashTable = std::array<std::string, TableSize>;

// The word's home slot: the sum of its bytes, taken unsigned, modulo TableSize.
int HashWord(std::string_view word);

void ClearTable(HashTable& table, int highest_index);
// One line per slot, 0 to highest_index: the index, ": " and the slot's bytes.
void PrintTable(ConsoleIO& console, const HashTable& table, int highest_index);

// Stores the word at its home slot or the next free slot after it and writes the comparison
// count. Returns false when every slot was taken and the word was not stored. The word is
// moved into its slot; a word equal to the one at its home slot is not stored again.
bool AddWord(ConsoleIO& console, HashTable& table, std::string&& word);
// Writes where the word is, or that it is absent, with the comparison count.
void FindWord(ConsoleIO& console, const HashTable& table, std::string_view word);

// The menu's commands 0 and 2: ask for a word, then add or look it up. Both return false
// when the input ended before a word came, so the run can end.
bool RunAddCommand(ConsoleIO& console, HashTable& table);
bool RunSearchCommand(ConsoleIO& console, const HashTable& table);
