// SPDX-License-Identifier: MIT
// Whole dialogues from arbitrary bytes, on the scripted fake system. The first byte picks the
// output device and how many of the next bytes give the sizes of the device reads; the rest
// is standard input. Every run must end normally with output of the program's own grammar.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "app/program.h"
#include "dialogue_test.h"
#include "fake_system.h"

using wordhash::FakeSystem;
using wordhash::kCommandPrompt;
using wordhash::kMenu;
using wordhash::kWordPrompt;
using wordhash::RunWordhash;
using wordhash::SystemInterface;
using wordhash::TableSize;

namespace {

[[noreturn]] void Fail(const char* what, std::string_view rest) {
  std::fprintf(stderr, "dialogue check failed: %s at: %.60s\n", what, std::string(rest).c_str());
  std::abort();
}

// A search of a full table without the word: the home slot, then two for each slot after it.
constexpr int kMostSearchComparisons = 2 * TableSize - 1;

// Reads the program's output front to back against its grammar.
class OutputChecker {
 public:
  explicit OutputChecker(std::string_view output) : rest_(output) {}

  void Check() {
    Expect(kMenu);
    Expect(kCommandPrompt);
    while (!rest_.empty()) {
      if (Take(kCommandPrompt)) {
        continue;
      }
      if (rest_.starts_with("0: ")) {
        CheckListing();
      } else if (rest_.starts_with(kWordPrompt)) {
        CheckWordCommand();
      } else {
        Fail("not a result of a command", rest_);
      }
      if (!rest_.empty()) {
        Expect(kCommandPrompt);
      }
    }
  }

 private:
  bool Take(std::string_view text) {
    if (!rest_.starts_with(text)) {
      return false;
    }
    rest_.remove_prefix(text.size());
    return true;
  }

  void Expect(std::string_view text) {
    if (!Take(text)) {
      Fail("unexpected bytes", rest_);
    }
  }

  // A decimal number on a line of its own, within [low, high].
  int Number(int low, int high) {
    int value = 0;
    std::size_t digits = 0;
    while (digits < rest_.size() && digits < 3 && rest_[digits] >= '0' && rest_[digits] <= '9') {
      value = value * 10 + (rest_[digits++] - '0');
    }
    if (digits == 0 || (digits > 1 && rest_[0] == '0')) {
      Fail("not a number", rest_);
    }
    rest_.remove_prefix(digits);
    Expect("\r\n");
    if (value < low || value > high) {
      Fail("number out of range", rest_);
    }
    return value;
  }

  void CheckListing() {
    for (int slot = 0; slot < TableSize; ++slot) {
      Expect(std::to_string(slot) + ": ");
      const std::size_t end = rest_.find("\r\n");
      if (end == std::string_view::npos ||
          rest_.substr(0, end).find_first_of("\r\n") != std::string_view::npos) {
        Fail("listing line", rest_);
      }
      rest_.remove_prefix(end + 2);
    }
  }

  void CheckWordCommand() {
    int prompts = 0;
    while (Take(kWordPrompt)) {
      ++prompts;
    }
    if (rest_.empty()) {
      return;  // the input ended before a word came
    }
    if (Take("Hash is empty\r\n")) {
      return;
    }
    if (Take("Nenaideno eto slovo!\r\n")) {
      Expect("Comparies: ");
      const int count = Number(1, kMostSearchComparisons);
      if (count != 1 && count != kMostSearchComparisons && count % 2 != 0) {
        Fail("an absent word ends at a free slot: an even count", rest_);
      }
      return;
    }
    if (Take("Eto slovo naideni i nahodatsa po\r\n")) {
      Expect("Index is: ");
      Number(0, TableSize - 1);
      Expect("Comparies: ");
      Number(1, 1);
      return;
    }
    if (Take("Eto slovo naideno\r\n")) {
      Expect("Index is: ");
      Number(0, TableSize - 1);
      Expect("Comparies: ");
      if (Number(3, kMostSearchComparisons) % 2 == 0) {
        Fail("a word found by probing has an odd count", rest_);
      }
      return;
    }
    if (prompts > 1 && rest_.starts_with("Eto")) {
      Fail("a search asks for its word once", rest_);
    }
    CheckAdd();
  }

  void CheckAdd() {
    const bool present = Take("Kluch uge dobavlalsa!!.\r\n");
    Expect("Comparies: ");
    const int count = Number(1, present ? 1 : TableSize);
    if (Take("Nelza dobavit v hash table\r\n")) {
      if (count != TableSize) {
        Fail("a failed add looked at every slot", rest_);
      }
      return;
    }
    Number(0, TableSize - 1);
  }

  std::string_view rest_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) {
    return 0;
  }
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  FakeSystem system;
  system.output_device = (bytes[0] & 1) != 0 ? SystemInterface::Device::kTerminal
                                             : SystemInterface::Device::kFileOrPipe;
  const std::size_t sizes =
      std::min<std::size_t>((static_cast<unsigned char>(bytes[0]) >> 1) & 7, size - 1);
  const std::string_view read_sizes = bytes.substr(1, sizes);
  std::string_view input = bytes.substr(1 + sizes);
  for (std::size_t i = 0; !input.empty(); ++i) {
    const std::size_t chunk =
        read_sizes.empty()
            ? 128
            : 1 + static_cast<unsigned char>(read_sizes[i % read_sizes.size()]) % 128;
    system.reads.push_back({std::string(input.substr(0, chunk))});
    input.remove_prefix(std::min(chunk, input.size()));
  }

  if (RunWordhash(system) != 0 || !system.ErrorWrites().empty()) {
    Fail("the run did not end normally", "");
  }
  const bool terminal = system.output_device == SystemInterface::Device::kTerminal;
  const std::vector<std::string> writes = system.Writes();
  for (std::size_t i = 0; i + 1 < writes.size(); ++i) {
    const std::string& write = writes[i];
    if (!terminal && write.size() != 128) {
      Fail("a file gets blocks of 128 bytes", write);
    }
    if (terminal && write.size() > 128) {
      Fail("a write is at most a buffer", write);
    }
  }
  OutputChecker(system.Output()).Check();
  return 0;
}
