// SPDX-License-Identifier: MIT
#include "app/word_commands.h"

#include <utility>

#include "console/console_io.h"
#include "table/add_word.h"
#include "table/find_word.h"

namespace wordhash {

AfterCommand RunAddCommand(ConsoleIO& console, HashTable& table) {
  HashedWord word;
  while (word.empty()) {
    console.WritePrompt("Enter Slovo: ");
    if (console.ReadWord(word) == WordRead::kInputEnded) {
      return AfterCommand::kEndOfRun;
    }
  }
  const int home = word.HomeSlot();
  if (AddWord(console, table, std::move(word))) {
    console.WriteInteger(home);
  } else {
    console.WriteText("Nelza dobavit v hash table");
  }
  console.EndLine();
  return AfterCommand::kNextCommand;
}

AfterCommand RunSearchCommand(ConsoleIO& console, const HashTable& table) {
  console.WritePrompt("Enter Slovo: ");
  SlotMatcher word(table);
  if (console.ReadWord(word) == WordRead::kInputEnded) {
    return AfterCommand::kEndOfRun;
  }
  FindWord(console, table, word.Matches());
  return AfterCommand::kNextCommand;
}

}  // namespace wordhash
