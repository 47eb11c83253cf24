// SPDX-License-Identifier: MIT
#pragma once

#include "platform/system_interface.h"

namespace wordhash {

// The seam in a web page (WebAssembly, built with emscripten). The page hands the module a
// host object, Module.wordhashHost, with three functions:
//   take(size)          a Uint8Array of 0 to size bytes typed already (0 bytes: end of input),
//                       or null when nothing is
//   read(size)          a promise of what take gives, once the user has typed something
//   write(bytes, fd)    bytes for standard output (fd 1) or standard error (fd 2)
// The page behaves as a terminal: standard output is one, and a read waits for the user.
// Neither call can fail, so no console failure ever reaches the report here.
class WebSystem final : public SystemInterface {
 public:
  bool AttachInput() override { return true; }
  Device AttachOutput() override { return Device::kTerminal; }
  ReadResult ReadInput(std::span<char> buffer) override;
  int WriteOutput(std::string_view bytes) override;
  void WriteError(std::string_view bytes) override;
  std::string_view ModuleName() override { return "wordhash"; }
  // Code has no addresses in WebAssembly: a function's "address" is its index in the
  // module's function table, and a return address is an offset in the .wasm file. Both are
  // reported as they are.
  std::uintptr_t ImageOffset(const void* code_address) override;
  bool DebuggerTakesFailures() override { return false; }
};

}  // namespace wordhash
