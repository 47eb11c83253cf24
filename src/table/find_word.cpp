#include <algorithm>

#include "console/console_io.h"
#include "table/hash_table.h"

namespace {

void WriteLine(ConsoleIO& console, std::string_view text) {
  console.WriteText(text);
  console.EndLine();
}

void WriteNumberLine(ConsoleIO& console, std::string_view label, std::int32_t number) {
  console.WriteText(label);
  console.WriteInteger(number);
  console.EndLine();
}

void ReportFound(ConsoleIO& console, std::string_view verdict, int slot, std::int32_t count) {
  WriteLine(console, verdict);
  WriteNumberLine(console, "Index is: ", slot);
  WriteNumberLine(console, "Comparies: ", count);
}

void ReportNotFound(ConsoleIO& console, std::int32_t count) {
  WriteLine(console, "Nenaideno eto slovo!");
  WriteNumberLine(console, "Comparies: ", count);
}

}  // namespace

void FindWord(ConsoleIO& console, const HashTable& table, std::string_view word) {
  if (std::all_of(table.begin(), table.end(),
                  [](const std::string& slot) { return slot.empty(); })) {
    WriteLine(console, "Hash is empty");
    return;
  }
  const int home = HashWord(word);
  std::int32_t count = 1;  // the home slot counts once, whatever it holds
  const std::string& home_slot = table[static_cast<std::size_t>(home)];
  if (home_slot.empty()) {
    ReportNotFound(console, count);
    return;
  }
  if (home_slot == word) {
    ReportFound(console, "Eto slovo naideni i nahodatsa po", home, count);
    return;
  }
  // Each probed slot counts once for the free test and once more for the comparison.
  for (int step = 1; step < TableSize; ++step) {
    const int index = (home + step) % TableSize;
    const std::string& slot = table[static_cast<std::size_t>(index)];
    ++count;
    if (slot.empty()) {
      ReportNotFound(console, count);
      return;
    }
    ++count;
    if (slot == word) {
      ReportFound(console, "Eto slovo naideno", index, count);
      return;
    }
  }
  ReportNotFound(console, count);  // a full table without the word
}

bool RunSearchCommand(ConsoleIO& console, const HashTable& table) {
  console.WritePrompt("Enter Slovo: ");
  const std::string word = console.ReadWord();
  if (word.empty() && console.AtEndOfInput()) {
    return false;
  }
  FindWord(console, table, word);
  return true;
}
