// SPDX-License-Identifier: MIT
#pragma once

#include <regex>
#include <string>

namespace wordhash {

// The bytes every run starts with, and the prompts it repeats.
inline const std::string kMenu =
    "0 - Dobavit v hash table\r\n2 - Poisk hash table\r\n3 - Vivod hash table\r\n4 - Exit\r\n";
inline const std::string kCommandPrompt = "Enter command: ";
inline const std::string kWordPrompt = "Enter Slovo: ";

// The listing of a table that holds the given words, by slot.
inline std::string Listing(const std::string (&slots)[12]) {
  std::string listing;
  for (int slot = 0; slot < 12; ++slot) {
    listing += std::to_string(slot) + ": " + slots[slot] + "\r\n";
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
