// SPDX-License-Identifier: MIT
#include "test_words.h"

#include "table/find_word.h"

namespace wordhash {

HashedWord Hashed(std::string_view bytes) {
  HashedWord word;
  word.Take(bytes);
  return word;
}

WordMatches MatchWord(const HashTable& table, std::string_view word) {
  SlotMatcher matcher(table);
  matcher.Take(word);
  return matcher.Matches();
}

}  // namespace wordhash
