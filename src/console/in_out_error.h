// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <exception>

namespace wordhash {

// A failed console read or write, raised by the statement check. Only the outermost level
// catches it, to make the failure report.
class EInOutError : public std::exception {
 public:
  EInOutError(std::int32_t code, const void* raised_at) : code_(code), raised_at_(raised_at) {}

  std::int32_t code() const { return code_; }
  // The code address of the statement whose check raised the failure.
  const void* raised_at() const { return raised_at_; }
  const char* what() const noexcept override { return "EInOutError"; }

 private:
  std::int32_t code_;
  const void* raised_at_;
};

}  // namespace wordhash
