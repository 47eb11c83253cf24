// SPDX-License-Identifier: MIT
#pragma once

#include <string_view>
#include <utility>

#include "console/line_consumer.h"
#include "table/hash_table.h"
#include "table/word.h"

namespace wordhash {

class ConsoleIO;

// A word with its home slot. The bytes arrive through Take, as the word's line is read, and
// are summed on the way, so the home slot is always the word's own.
class HashedWord final : public LineConsumer {
 public:
  void Take(std::string_view bytes) override {
    word_.Append(bytes);
    hasher_.Add(bytes);
  }
  bool empty() const { return word_.empty(); }
  int HomeSlot() const { return hasher_.HomeSlot(); }
  std::string_view View() const { return word_.View(); }
  // The bytes, for a slot to keep, without the room they grew beyond. The word is empty
  // afterwards.
  Word TakeBytes() {
    word_.ShrinkToFit();
    return std::move(word_);
  }

 private:
  Word word_;
  WordHasher hasher_;
};

// Stores the word at its home slot or the next free slot after it, and writes the comparison
// count. Returns false when every slot was taken and the word was not stored. A word equal to
// the one at its home slot is not stored again.
bool AddWord(ConsoleIO& console, HashTable& table, HashedWord&& word);

}  // namespace wordhash
