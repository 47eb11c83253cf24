// SPDX-License-Identifier: MIT
#include "test_words.h"

#include "table/slot_matcher.h"

namespace wordhash {

HashedWord Hashed(std::string_view bytes) {
  HashedWord word;
  word.Take(bytes);
  return word;
}

int HashWord(std::string_view word) {
  WordHasher hasher;
  hasher.Add(word);
  return hasher.HomeSlot();
}

WordMatches MatchWord(const HashTable& table, std::string_view word) {
  SlotMatcher matcher(table);
  matcher.Take(word);
  return matcher.Matches();
}

}  // namespace wordhash
