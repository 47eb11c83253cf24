// SPDX-License-Identifier: MIT
#include "app/command_driver.h"

#include "app/word_commands.h"
#include "console/console_io.h"
#include "table/hash_table.h"

namespace wordhash {

namespace {

void PrintMenu(ConsoleIO& console) {
  for (const char* line :
       {"0 - Dobavit v hash table", "2 - Poisk hash table", "3 - Vivod hash table", "4 - Exit"}) {
    console.WriteText(line);
    console.EndLine();
  }
}

void CommandLoop(ConsoleIO& console, HashTable& table) {
  AfterCommand after = AfterCommand::kNextCommand;
  while (after == AfterCommand::kNextCommand) {
    console.WritePrompt("Enter command: ");
    switch (console.ReadCommandChar()) {
      case '0':
        after = RunAddCommand(console, table);
        break;
      case '2':
        after = RunSearchCommand(console, table);
        break;
      case '3':
        PrintTable(console, table, TableSize - 1);
        break;
      case '4':
      case ConsoleIO::kEndOfInput:
        after = AfterCommand::kEndOfRun;
        break;
      default:
        break;  // not a command: ask again
    }
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
