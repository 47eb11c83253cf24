// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <deque>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "console/console_io.h"
#include "console/system_interface.h"

// A scripted stand-in for the operating system: each device read is served exactly as
// scripted, and every device write is recorded, so tests see block sizes and flush points.
class FakeSystem final : public SystemInterface {
 public:
  enum class Raise { kNothing, kOutOfMemory, kOtherFailure };
  struct ScriptedRead {
    std::string bytes;              // at most 128
    int error = 0;                  // non-zero: the read fails with this code
    Raise raise = Raise::kNothing;  // the read throws std::bad_alloc or std::runtime_error
  };
  static constexpr std::size_t kNoFailure = static_cast<std::size_t>(-1);

  // Splits the input into reads of at most chunk bytes; an empty input scripts nothing.
  void ScriptInput(std::string_view input, std::size_t chunk = 128);
  void ScriptReadError(int error) { reads.push_back({"", error}); }

  // All bytes standard output received.
  std::string Output() const;

  bool AttachInput() override;
  Device AttachOutput() override;
  ReadResult ReadInput(std::span<char> buffer) override;
  int WriteOutput(std::string_view bytes) override;
  void WriteError(std::string_view bytes) override;
  std::string_view ModuleName() override { return module_name; }
  std::uintptr_t ImageOffset(const void* code_address) override;
  bool DebuggerTakesFailures() override { return debugger_attached; }

  // The script.
  bool input_attachable = true;
  Device output_device = Device::kFileOrPipe;
  std::string module_name = "wordhash";
  bool debugger_attached = false;
  // Served in order; once used up, every read delivers no bytes (end of input).
  std::deque<ScriptedRead> reads;
  // Standard output writes that fail, by their 0-based index among all write attempts.
  std::map<std::size_t, int> failing_writes;
  // Fault injection: the device call with this 0-based index (attaches, reads and writes
  // counted together) fails: an attach finds no device, a read or a write fails with
  // injected_error.
  std::size_t failing_call = kNoFailure;
  int injected_error = 0;

  // What the program did.
  std::vector<std::string> writes;  // successful standard output writes
  std::size_t write_attempts = 0;
  std::vector<std::string> error_writes;  // standard error writes
  std::size_t reads_made = 0;
  std::vector<std::size_t> writes_at_read;  // for each read, how many writes preceded it
  // Device calls in order: 'I' and 'O' attach standard input and output, 'r' read,
  // 'o' output write, 'f' failed output write, 'e' standard error write.
  std::string calls;
  std::size_t device_calls = 0;  // attaches, reads and output writes

 private:
  bool InjectFailureNow();
};

// What the whole program writes, run in-process on this input to a file.
std::string InProcessOutput(std::string_view input);

// The next word line as text, or nothing when the input ended before it.
std::optional<std::string> ReadWordText(ConsoleIO& console);
