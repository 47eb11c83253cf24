// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <string_view>

#include "platform/system_interface.h"

namespace wordhash {

// The seam on POSIX systems: descriptors 0, 1 and 2.
class PosixSystem final : public SystemInterface {
 public:
  // argv0 names the program where the system cannot tell its file; it must outlive this.
  explicit PosixSystem(const char* argv0);

  bool AttachInput() override;
  Device AttachOutput() override;
  ReadResult ReadInput(std::span<char> buffer) override;
  int WriteOutput(std::string_view bytes) override;
  void WriteError(std::string_view bytes) override;
  std::string_view ModuleName() override;
  std::uintptr_t ImageOffset(const void* code_address) override;
  // POSIX has no unhandled-failure filter to consult: the report is always made.
  bool DebuggerTakesFailures() override { return false; }

 private:
  const char* argv0_;
  std::array<char, 4096> module_path_{};
};

// The code reported for an errno: the message table's code where the meaning is the same;
// otherwise the errno itself, or 1000 + errno where the errno's number is a code that means
// something else in a report.
int ReportedErrorCode(int error_number);

// The program's path as the kernel tells it, without the mark it adds once the file has been
// deleted or replaced while the program runs.
std::string_view WithoutDeletedMark(std::string_view program_path);

}  // namespace wordhash
