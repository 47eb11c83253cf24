// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <deque>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include "console/console_io.h"
#include "platform/system_interface.h"

namespace wordhash {

// A scripted stand-in for the operating system: each device read is served exactly as
// scripted, chosen device calls fail, and every device call is logged in order, so that
// tests see block sizes, flush points and what came before what.
class FakeSystem final : public SystemInterface {
 public:
  enum class Raise { kNothing, kOutOfMemory, kOtherFailure };
  struct ScriptedRead {
    std::string bytes{};            // at most 128
    Raise raise = Raise::kNothing;  // the read throws std::bad_alloc or std::runtime_error
  };

  // One device call, as the program made it.
  struct Call {
    enum class Kind { kAttachInput, kAttachOutput, kRead, kWrite, kErrorWrite };
    Kind kind;
    std::string bytes;  // what a write carried, or a read delivered
    int error = 0;      // the code a read or write failed with; 1 for an attach that failed
  };
  using Kind = Call::Kind;

  // Splits the input into reads of at most chunk bytes; an empty input scripts nothing.
  void ScriptInput(std::string_view input, std::size_t chunk = 128);

  // The script.
  Device output_device = Device::kFileOrPipe;
  bool input_attachable = true;
  std::string module_name = "wordhash";
  bool debugger_attached = false;
  // Served in order; once used up, every read delivers no bytes (end of input).
  std::deque<ScriptedRead> reads;
  // Device calls that fail, by their kind and their place among the calls of that kind ({kRead,
  // 1}: the first read), with their codes: a read or write fails with the code (a failed read
  // uses up no scripted read); an attach finds no usable device.
  struct CallOf {
    Kind kind;
    std::size_t nth;
    bool operator<(const CallOf& other) const {
      return std::tie(kind, nth) < std::tie(other.kind, other.nth);
    }
  };
  std::map<CallOf, int> failing_calls;

  // What the program did: every device call, standard error writes included, in order.
  std::vector<Call> log;

  // Views of the log.
  // Successful writes: standard output's, or standard error's with kErrorWrite.
  std::vector<std::string> Writes(Kind kind = Kind::kWrite) const;
  std::string Output() const;  // all bytes standard output received
  std::vector<std::string> ErrorWrites() const { return Writes(Kind::kErrorWrite); }
  std::size_t CountOf(Kind kind) const;

  bool AttachInput() override;
  Device AttachOutput() override;
  ReadResult ReadInput(std::span<char> buffer) override;
  int WriteOutput(std::string_view bytes) override;
  void WriteError(std::string_view bytes) override;
  std::string_view ModuleName() override { return module_name; }
  std::uintptr_t ImageOffset(const void* code_address) override;
  bool DebuggerTakesFailures() override { return debugger_attached; }

 private:
  // Counts a device call of this kind; the code it fails with, or 0.
  int NextCallFails(Kind kind);

  std::map<Kind, std::size_t> calls_made_;
};

// What the whole program writes, run in-process on this input to a file.
std::string InProcessOutput(std::string_view input);

// The next word line as text, or nothing when the input ended before it.
std::optional<std::string> ReadWordText(ConsoleIO& console);

}  // namespace wordhash
