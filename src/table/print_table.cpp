// SPDX-License-Identifier: MIT
#include "console/console_io.h"
#include "table/table_operations.h"

namespace wordhash {

void PrintTable(ConsoleIO& console, const HashTable& table, int highest_index) {
  for (int index = 0; index <= highest_index; ++index) {
    console.WriteInteger(index);
    console.WriteText(": ");
    console.WriteText(table[static_cast<std::size_t>(index)].View());
    console.EndLine();
  }
}

}  // namespace wordhash
