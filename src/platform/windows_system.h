// SPDX-License-Identifier: MIT
#pragma once

#include <array>

#include "platform/system_interface.h"

namespace wordhash {

// The seam on Windows: the console calls GetStdHandle, GetFileType, ReadFile, WriteFile and
// GetLastError. Error numbers are GetLastError's, reported as they are: Windows' own numbers
// for a missing file or a denied access are the very codes the report names that way.
class WindowsSystem final : public SystemInterface {
 public:
  bool AttachInput() override;
  Device AttachOutput() override;
  ReadResult ReadInput(std::span<char> buffer) override;
  int WriteOutput(std::string_view bytes) override;
  void WriteError(std::string_view bytes) override;
  std::string_view ModuleName() override;
  std::uintptr_t ImageOffset(const void* code_address) override;
  bool DebuggerTakesFailures() override;

 private:
  void* input_ = nullptr;  // the standard handles, once attached
  void* output_ = nullptr;
  std::array<char, 260> module_path_{};  // MAX_PATH
};

}  // namespace wordhash
