// SPDX-License-Identifier: MIT
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstring>
#include <string_view>

namespace wordhash {

// Text of bounded length held in place. The failure report is made of these so that it never
// allocates: it must still come out when memory has run out. What does not fit is cut off.
template <std::size_t Capacity>
class FixedText {
 public:
  FixedText() = default;
  explicit FixedText(std::string_view text) { Append(text); }

  FixedText& Append(std::string_view text) {
    const std::size_t count = std::min(Capacity - size_, text.size());
    std::memcpy(bytes_.data() + size_, text.data(), count);
    size_ += count;
    return *this;
  }
  std::string_view View() const { return {bytes_.data(), size_}; }

 private:
  std::array<char, Capacity> bytes_{};
  std::size_t size_ = 0;
};

}  // namespace wordhash
