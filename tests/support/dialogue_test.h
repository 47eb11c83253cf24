// SPDX-License-Identifier: MIT
#pragma once

#include <algorithm>
#include <cstddef>
#include <map>
#include <regex>
#include <string>
#include <utility>
#include <vector>

#include "table/hash_table.h"

namespace wordhash {

// The bytes every run starts with, and the prompts it repeats.
inline const std::string kMenu =
    "0 - Dobavit v hash table\r\n2 - Poisk hash table\r\n3 - Vivod hash table\r\n4 - Exit\r\n";
inline const std::string kCommandPrompt = "Enter command: ";
inline const std::string kWordPrompt = "Enter Slovo: ";

// A dialogue that uses every command, both line ends, the empty line and bytes above 127, and
// produces several 128-byte blocks.
inline const std::string kEveryCommandDialogue =
    "0\r\nab\r\n0\r\nba\r\n0\r\n\r\n  spaced  \r\n2\r\nba\r\n2\r\nzz\r\n2\r\n\r\n3\r\n1\r\n"
    "0\nlf only\n\r\n3abc\r\n0\r\n\xff\xfe\r\n3\r\n4\r\n";

// Inputs that end before the command 4, each with the run's whole output: at a command, at a
// word's prompt, within a last line, and at a 26 right after a command byte.
inline std::vector<std::pair<std::string, std::string>> EndOfInputRuns() {
  return {{"", kMenu + kCommandPrompt},
          {"0\r\n", kMenu + kCommandPrompt + kWordPrompt},
          {"0\r\nlast",
           kMenu + kCommandPrompt + kWordPrompt + "Comparies: 1\r\n4\r\n" + kCommandPrompt},
          {"2\r\n", kMenu + kCommandPrompt + kWordPrompt},
          {"0\x1a\r\nnever read\r\n", kMenu + kCommandPrompt + kWordPrompt}};
}

// Each line of a text, with its line end.
inline std::vector<std::string> LinesOf(const std::string& text) {
  std::vector<std::string> lines;
  for (std::size_t start = 0, end; start < text.size(); start = end) {
    end = std::min(text.find('\n', start) + 1, text.size());
    lines.push_back(text.substr(start, end - start));
  }
  return lines;
}

// The listing of a table that holds these words, by slot; every other slot is free.
inline std::string Listing(const std::map<int, std::string>& words = {}) {
  std::string listing;
  for (int slot = 0; slot < TableSize; ++slot) {
    const auto word = words.find(slot);
    listing += std::to_string(slot) + ": " + (word != words.end() ? word->second : "") + "\r\n";
  }
  return listing;
}

// A failure report with its eight-digit position replaced by XXXXXXXX.
inline std::string MaskedPosition(const std::string& report) {
  return std::regex_replace(report, std::regex(" at [0-9A-F]{8}\\."), " at XXXXXXXX.");
}

// The standard error of a failed run: the report, masked, and the empty line after it.
inline std::string ReportLines(const std::string& message, const std::string& kind = "EInOutError",
                               const std::string& module = "wordhash") {
  return "Exception " + kind + " in module " + module + " at XXXXXXXX.\r\n" + message + "\r\n\r\n";
}

}  // namespace wordhash
