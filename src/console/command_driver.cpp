#include "console/command_driver.h"

#include "console/console_io.h"

void PrintMenu(ConsoleIO& console) {
  for (const char* line :
       {"0 - Dobavit v hash table", "2 - Poisk hash table", "3 - Vivod hash table", "4 - Exit"}) {
    console.WriteText(line);
    console.EndLine();
  }
}

void CommandLoop(ConsoleIO& console, HashTable& table) {
  for (;;) {
    console.WritePrompt("Enter command: ");
    switch (console.ReadCommandChar()) {
      case '0':
        if (!RunAddCommand(console, table)) {
          return;
        }
        break;
      case '2':
        if (!RunSearchCommand(console, table)) {
          return;
        }
        break;
      case '3':
        PrintTable(console, table, TableSize - 1);
        break;
      case '4':
      case ConsoleIO::kEndOfInput:
        return;
      default:
        break;  // not a command: ask again
    }
  }
}

void RunCommandDriver(ConsoleIO& console) {
  HashTable table;
  ClearTable(table, TableSize - 1);
  PrintMenu(console);
  CommandLoop(console, table);
}
