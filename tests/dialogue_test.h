#pragma once

#include <string>

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
