// SPDX-License-Identifier: MIT
#pragma once

#include <string_view>

#include "table/add_word.h"
#include "table/find_word.h"
#include "table/hash_table.h"

namespace wordhash {

// A whole word as the add command hands it over: its bytes, summed for its home slot.
HashedWord Hashed(std::string_view bytes);
// The matches of a whole word, found as the search command finds them while its word arrives.
WordMatches MatchWord(const HashTable& table, std::string_view word);

}  // namespace wordhash
