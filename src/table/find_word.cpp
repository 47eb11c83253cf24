// SPDX-License-Identifier: MIT
#include "table/find_word.h"

#include <algorithm>
#include <cstring>

#include "console/console_io.h"

namespace wordhash {

SlotMatcher::SlotMatcher(const HashTable& table) : table_(table) {
  // Every slot matches until a piece differs; a free slot's answer is never asked for.
  matching_.fill(true);
}

void SlotMatcher::Take(std::string_view bytes) {
  if (bytes.empty()) {
    return;
  }
  hasher_.Add(bytes);
  for (std::size_t slot = 0; slot < table_.size(); ++slot) {
    if (matching_[slot]) {
      // The first byte decides most mismatches in a busy table of short words, without a call.
      const std::string_view stored = table_[slot].View();
      matching_[slot] = stored.size() - offset_ >= bytes.size() &&
                        stored[offset_] == bytes.front() &&
                        std::memcmp(stored.data() + offset_, bytes.data(), bytes.size()) == 0;
    }
  }
  offset_ += bytes.size();
}

WordMatches SlotMatcher::Matches() const {
  WordMatches matches{.home = hasher_.HomeSlot()};
  for (std::size_t slot = 0; slot < table_.size(); ++slot) {
    matches.held_by[slot] = matching_[slot] && table_[slot].View().size() == offset_;
  }
  return matches;
}

namespace {

void WriteLine(ConsoleIO& console, std::string_view text) {
  console.WriteText(text);
  console.EndLine();
}

void WriteNumberLine(ConsoleIO& console, std::string_view label, std::int32_t number) {
  console.WriteText(label);
  console.WriteInteger(number);
  console.EndLine();
}

void ReportFound(ConsoleIO& console, std::string_view verdict, int slot, std::int32_t count) {
  WriteLine(console, verdict);
  WriteNumberLine(console, "Index is: ", slot);
  WriteNumberLine(console, "Comparies: ", count);
}

void ReportNotFound(ConsoleIO& console, std::int32_t count) {
  WriteLine(console, "Nenaideno eto slovo!");
  WriteNumberLine(console, "Comparies: ", count);
}

}  // namespace

void FindWord(ConsoleIO& console, const HashTable& table, const WordMatches& matches) {
  if (std::all_of(table.begin(), table.end(), [](const Word& slot) { return slot.empty(); })) {
    WriteLine(console, "Hash is empty");
    return;
  }
  const int home = matches.home;
  std::int32_t count = 1;  // the home slot counts once, whatever it holds
  const auto held = [&](int slot) { return matches.held_by[static_cast<std::size_t>(slot)]; };
  if (table[static_cast<std::size_t>(home)].empty()) {
    ReportNotFound(console, count);
    return;
  }
  if (held(home)) {
    ReportFound(console, "Eto slovo naideni i nahodatsa po", home, count);
    return;
  }
  // Each probed slot counts once for the free test and once more for the comparison.
  for (int step = 1; step < TableSize; ++step) {
    const int index = (home + step) % TableSize;
    ++count;
    if (table[static_cast<std::size_t>(index)].empty()) {
      ReportNotFound(console, count);
      return;
    }
    ++count;
    if (held(index)) {
      ReportFound(console, "Eto slovo naideno", index, count);
      return;
    }
  }
  ReportNotFound(console, count);  // a full table without the word
}

}  // namespace wordhash
