// SPDX-License-Identifier: MIT
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <string_view>

// The codes that mean something of their own in a failure report, in one table: those with a
// message of their own, and the console's codes for a standard stream that cannot be used.
// The report takes its messages from here, and a platform moves its own error numbers clear
// of these codes by the rule below.
namespace wordhash::error_code {

inline constexpr std::int32_t kFileNotFound = 2;
inline constexpr std::int32_t kInvalidFilename = 3;
inline constexpr std::int32_t kTooManyOpenFiles = 4;
inline constexpr std::int32_t kFileAccessDenied = 5;
inline constexpr std::int32_t kReadBeyondEndOfFile = 100;
inline constexpr std::int32_t kDiskFull = 101;
inline constexpr std::int32_t kInputCannotBeAttached = 104;
inline constexpr std::int32_t kOutputCannotBeAttached = 105;
inline constexpr std::int32_t kInvalidNumericInput = 106;

struct OwnCode {
  std::int32_t code;
  std::string_view message;  // empty: reported as "I/O error <code>"
};

inline constexpr std::array kOwnCodes = {
    OwnCode{kFileNotFound, "File not found"},
    OwnCode{kInvalidFilename, "Invalid filename"},
    OwnCode{kTooManyOpenFiles, "Too many open files"},
    OwnCode{kFileAccessDenied, "File access denied"},
    OwnCode{kReadBeyondEndOfFile, "Read beyond end of file"},
    OwnCode{kDiskFull, "Disk full"},
    OwnCode{kInputCannotBeAttached, ""},
    OwnCode{kOutputCannotBeAttached, ""},
    OwnCode{kInvalidNumericInput, "Invalid numeric input"},
};

constexpr const OwnCode* FindOwnCode(std::int32_t code) {
  const auto* found = std::find_if(kOwnCodes.begin(), kOwnCodes.end(),
                                   [code](const OwnCode& own) { return own.code == code; });
  return found != kOwnCodes.end() ? found : nullptr;
}

// A platform's error number with no code of the same meaning is reported as itself, unless
// the number is one of the codes above, where it would read as their meaning: then it is
// moved clear of them, to 1000 + the number.
constexpr std::int32_t ClearOfOwnCodes(std::int32_t error_number) {
  return FindOwnCode(error_number) != nullptr ? 1000 + error_number : error_number;
}

}  // namespace wordhash::error_code
