// SPDX-License-Identifier: MIT
#pragma once

#include "table/hash_table.h"

namespace wordhash {

class ConsoleIO;

// Whether the command loop goes on after a command, or the run ends: the input ended before
// the command got its word.
enum class AfterCommand { kNextCommand, kEndOfRun };

// The menu's commands 0 and 2: ask for a word, then add or look it up.
AfterCommand RunAddCommand(ConsoleIO& console, HashTable& table);
AfterCommand RunSearchCommand(ConsoleIO& console, const HashTable& table);

}  // namespace wordhash
