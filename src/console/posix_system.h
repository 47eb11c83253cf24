#pragma once

#include <string>

#include "console/system_interface.h"

// The seam on POSIX systems: descriptors 0, 1 and 2.
class PosixSystem final : public SystemInterface {
 public:
  // argv0 names the program where /proc/self/exe cannot be read.
  explicit PosixSystem(const char* argv0);

  Device AttachInput() override;
  Device AttachOutput() override;
  ReadResult ReadInput(std::span<char> buffer) override;
  int WriteOutput(std::string_view bytes) override;
  void WriteError(std::string_view bytes) override;
  std::string ModuleName() override;
  std::uintptr_t ImageOffset(const void* code_address) override;
  // POSIX has no unhandled-failure filter to consult: the report is always made.
  bool DebuggerTakesFailures() override { return false; }
  [[noreturn]] void Exit(int status) override;

 private:
  std::string argv0_;
};

// The code reported for an errno: the message table's code where the meaning is the same,
// otherwise the errno itself, moved clear of the table where it would read as another meaning.
int ReportedErrorCode(int error_number);
