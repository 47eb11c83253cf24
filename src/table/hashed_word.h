// SPDX-License-Identifier: MIT
#pragma once

#include <string_view>
#include <utility>

#include "console/line_consumer.h"
#include "table/hash_table.h"
#include "table/word.h"

namespace wordhash {

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
  // The bytes, for a slot to keep, with the room grown beyond them given back where that is
  // worth it. The word is empty afterwards.
  Word TakeBytes() {
    word_.ShrinkToFit();
    return std::move(word_);
  }

 private:
  Word word_;
  WordHasher hasher_;
};

}  // namespace wordhash
