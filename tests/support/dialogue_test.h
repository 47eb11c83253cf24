// SPDX-License-Identifier: MIT
#pragma once

#include <algorithm>
#include <cstddef>
#include <map>
#include <regex>
#include <string>
#include <vector>

#include "table/hash_table.h"

namespace wordhash {

// The bytes every run starts with, and the prompts it repeats.
inline const std::string kMenu =
    "0 - Dobavit v hash table\r\n2 - Poisk hash table\r\n3 - Vivod hash table\r\n4 - Exit\r\n";
inline const std::string kCommandPrompt = "Enter command: ";
inline const std::string kWordPrompt = "Enter Slovo: ";

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
