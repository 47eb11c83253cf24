// SPDX-License-Identifier: MIT
#pragma once

#include <string_view>

namespace wordhash {

// Takes the bytes of one input line as they arrive, in one or more pieces, CR bytes left out.
// A piece is valid only during the call: a consumer that keeps bytes copies them.
class LineConsumer {
 public:
  virtual void Take(std::string_view bytes) = 0;

 protected:
  ~LineConsumer() = default;
};

}  // namespace wordhash
