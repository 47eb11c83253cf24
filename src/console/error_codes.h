// SPDX-License-Identifier: MIT
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>

// The codes that mean something of their own in a failure report: those with a message of
// their own, and the console's codes for a standard stream that cannot be used.
namespace error_code {

inline constexpr std::int32_t kFileNotFound = 2;
inline constexpr std::int32_t kInvalidFilename = 3;
inline constexpr std::int32_t kTooManyOpenFiles = 4;
inline constexpr std::int32_t kFileAccessDenied = 5;
inline constexpr std::int32_t kReadBeyondEndOfFile = 100;
inline constexpr std::int32_t kDiskFull = 101;
inline constexpr std::int32_t kInputCannotBeAttached = 104;
inline constexpr std::int32_t kOutputCannotBeAttached = 105;
inline constexpr std::int32_t kInvalidNumericInput = 106;

inline constexpr std::array kWithMeaningOfTheirOwn = {
    kFileNotFound,          kInvalidFilename,        kTooManyOpenFiles,
    kFileAccessDenied,      kReadBeyondEndOfFile,    kDiskFull,
    kInputCannotBeAttached, kOutputCannotBeAttached, kInvalidNumericInput};

constexpr bool HasMeaningOfItsOwn(std::int32_t code) {
  return std::find(kWithMeaningOfTheirOwn.begin(), kWithMeaningOfTheirOwn.end(), code) !=
         kWithMeaningOfTheirOwn.end();
}

}  // namespace error_code
