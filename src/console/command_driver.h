#pragma once

#include "table/hash_table.h"

class ConsoleIO;

void PrintMenu(ConsoleIO& console);
// Reads one command per line until the command 4 or the end of input.
void CommandLoop(ConsoleIO& console, HashTable& table);
// The dialogue from start-up to its end: clears the table, shows the menu, runs the loop.
void RunCommandDriver(ConsoleIO& console);
