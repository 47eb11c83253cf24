// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace wordhash {

// The program's one seam to the operating system. Everything the console layer and the
// failure report need from the platform goes through here, so that tests can run the whole
// program on a scripted fake and each platform has one file of its own.
class SystemInterface {
 public:
  // What standard output turned out to be when it was attached.
  enum class Device {
    kMissing,     // no usable handle: the stream cannot be attached
    kTerminal,    // an interactive character device: output is pushed at every line
    kFileOrPipe,  // anything else: output goes out in 128-byte blocks
  };

  // One device read. bytes == 0 with error == 0 is end of input.
  struct ReadResult {
    std::size_t bytes = 0;
    int error = 0;
  };

  virtual ~SystemInterface() = default;

  // False when standard input has no usable handle. Its kind is not asked.
  virtual bool AttachInput() = 0;
  virtual Device AttachOutput() = 0;

  // Reads up to buffer.size() bytes from standard input; error is the code to report. Waits
  // for a stream that is not ready, and never returns a failure as end of input.
  virtual ReadResult ReadInput(std::span<char> buffer) = 0;
  // Writes every byte to standard output; returns 0, or the code to report. A device that
  // stops taking bytes is a failure, never a reason to try for ever.
  virtual int WriteOutput(std::string_view bytes) = 0;
  // Writes the failure report to standard error, unbuffered; failures are ignored.
  virtual void WriteError(std::string_view bytes) = 0;

  // The running executable's file name, without its directory. Never allocates: the report
  // asks for it when memory may be gone.
  virtual std::string_view ModuleName() = 0;
  // Offset of a code address from the start of the loaded program image.
  virtual std::uintptr_t ImageOffset(const void* code_address) = 0;

  // True when a failure must be passed on to a debugger instead of being reported.
  virtual bool DebuggerTakesFailures() = 0;
};

}  // namespace wordhash
