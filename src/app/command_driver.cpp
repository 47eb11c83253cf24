// SPDX-License-Identifier: MIT
#include "app/command_driver.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "app/word_commands.h"
#include "console/console_io.h"
#include "table/hash_table.h"

namespace wordhash {

namespace {

// The commands share one signature, so that each is a row of the table below.
// cppcheck-suppress constParameter
AfterCommand ListTable(ConsoleIO& console, HashTable& table) {
  PrintTable(console, table, TableSize - 1);
  return AfterCommand::kNextCommand;
}

AfterCommand Leave(ConsoleIO& /*console*/, HashTable& /*table*/) {
  return AfterCommand::kEndOfRun;
}

// cppcheck-suppress constParameter
AfterCommand Search(ConsoleIO& console, HashTable& table) {
  return RunSearchCommand(console, table);
}

// The menu, in its order: each command's key, its line, and what it runs. Any other byte is
// not a command, and the prompt comes again.
struct Command {
  unsigned char key;
  std::string_view menu_line;
  // cppcheck-suppress unusedStructMember ; called through the row RunCommand finds
  AfterCommand (*run)(ConsoleIO&, HashTable&);
};
constexpr std::array kCommands = {
    Command{'0', "0 - Dobavit v hash table", &RunAddCommand},
    Command{'2', "2 - Poisk hash table", &Search},
    Command{'3', "3 - Vivod hash table", &ListTable},
    Command{'4', "4 - Exit", &Leave},
};

void PrintMenu(ConsoleIO& console) {
  for (const Command& command : kCommands) {
    console.WriteText(command.menu_line);
    console.EndLine();
  }
}

AfterCommand RunCommand(ConsoleIO& console, HashTable& table, unsigned char key) {
  if (key == ConsoleIO::kEndOfInput) {
    return AfterCommand::kEndOfRun;
  }
  const auto* command = std::find_if(kCommands.begin(), kCommands.end(),
                                     [key](const Command& row) { return row.key == key; });
  return command != kCommands.end() ? command->run(console, table) : AfterCommand::kNextCommand;
}

void CommandLoop(ConsoleIO& console, HashTable& table) {
  AfterCommand after = AfterCommand::kNextCommand;
  while (after == AfterCommand::kNextCommand) {
    console.WritePrompt("Enter command: ");
    after = RunCommand(console, table, console.ReadCommandChar());
  }
}

}  // namespace

void RunCommandDriver(ConsoleIO& console) {
  HashTable table;
  ClearTable(table, TableSize - 1);
  PrintMenu(console);
  CommandLoop(console, table);
}

}  // namespace wordhash
