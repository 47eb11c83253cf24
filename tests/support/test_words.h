// SPDX-License-Identifier: MIT
#pragma once

#include <string_view>

#include "table/hash_table.h"
#include "table/hashed_word.h"
#include "table/table_operations.h"

namespace wordhash {

// A whole word as the add command hands it over: its bytes, summed for its home slot.
HashedWord Hashed(std::string_view bytes);
// The home slot of a whole word.
int HashWord(std::string_view word);
// The matches of a whole word, found as the search command finds them while its word arrives.
WordMatches MatchWord(const HashTable& table, std::string_view word);

}  // namespace wordhash
