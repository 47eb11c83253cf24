#pragma once

#include <string>

#include "console/system_interface.h"

// The seam on Windows: the console calls the program was made for. Error numbers are
// GetLastError's, unmapped: the message table was made for them.
class WindowsSystem final : public SystemInterface {
 public:
  Device AttachInput() override;
  Device AttachOutput() override;
  ReadResult ReadInput(std::span<char> buffer) override;
  int WriteOutput(std::string_view bytes) override;
  void WriteError(std::string_view bytes) override;
  std::string ModuleName() override;
  std::uintptr_t ImageOffset(const void* code_address) override;
  bool DebuggerTakesFailures() override;
  [[noreturn]] void Exit(int status) override;

 private:
  void* input_ = nullptr;  // the standard handles, once attached
  void* output_ = nullptr;
};
