// SPDX-License-Identifier: MIT
#pragma once

#include <algorithm>
#include <cstdlib>
#include <string>

#include "platform/system_interface.h"

namespace wordhash {

// A system whose input repeats one text for ever and whose output goes nowhere: what is left
// to measure is the program's own work between device calls.
class NullSystem final : public SystemInterface {
 public:
  explicit NullSystem(std::string input = "", Device output = Device::kFileOrPipe)
      : input_(std::move(input)), output_(output) {}

  bool AttachInput() override { return true; }
  Device AttachOutput() override { return output_; }
  ReadResult ReadInput(std::span<char> buffer) override {
    const std::size_t size = std::min(buffer.size(), input_.size() - at_);
    std::copy_n(input_.data() + at_, size, buffer.data());
    at_ = (at_ + size) % std::max<std::size_t>(input_.size(), 1);
    return {size, 0};
  }
  int WriteOutput(std::string_view bytes) override {
    written_ += bytes.size();
    return 0;
  }
  void WriteError(std::string_view /*bytes*/) override {}
  std::string_view ModuleName() override { return "wordhash"; }
  std::uintptr_t ImageOffset(const void* /*code_address*/) override { return 0; }
  bool DebuggerTakesFailures() override { return false; }

  std::size_t written() const { return written_; }

 private:
  std::string input_;
  Device output_;
  std::size_t at_ = 0;
  std::size_t written_ = 0;
};

}  // namespace wordhash
