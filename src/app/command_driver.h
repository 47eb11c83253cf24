// SPDX-License-Identifier: MIT
#pragma once

namespace wordhash {

class ConsoleIO;

// The dialogue from start-up to its end: clears the table, shows the menu, then reads one
// command per line until the command 4 or the end of the input.
void RunCommandDriver(ConsoleIO& console);

}  // namespace wordhash
