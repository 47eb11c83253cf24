// SPDX-License-Identifier: MIT
#pragma once

#include <sys/resource.h>
#include <sys/types.h>

#include <cstddef>
#include <string>
#include <vector>

namespace wordhash {

// Starting a command with its standard streams wired as asked, and waiting for it: what the
// tests that run the built program and the benchmarks that time it share.

inline constexpr int kClosed = -1;

struct ChildStreams {
  int input = kClosed;  // descriptors the child gets as 0, 1 and 2; kClosed leaves it closed
  int output = kClosed;
  int error = kClosed;
  long address_space_limit = 0;  // bytes; 0 for none
};

// A part of a dialogue's input: a text written `times` times over. Huge words are parts, so
// that an input is written to its file without ever being held whole.
struct InputPart {
  std::string text;
  std::size_t times = 1;
};
// Writes the parts, in order, to a new file at path.
void WriteInputFile(const std::string& path, const std::vector<InputPart>& parts);
// The whole input, for what must hold it.
std::string InputText(const std::vector<InputPart>& parts);

// The command as execv takes it, null-terminated; it points into `command`.
std::vector<char*> ArgumentVector(const std::vector<std::string>& command);
// This process's environment without the allocator's tuning variables (MALLOC_*), for execve:
// a run that is tested or measured gets the program's own memory behaviour.
std::vector<char*> EnvironmentWithoutMallocTuning();
// Starts the command, in EnvironmentWithoutMallocTuning(); the parent's copies of the descriptors
// stay open.
pid_t SpawnCommand(const std::vector<std::string>& command, const ChildStreams& streams);
// The exit status, or 128 + the signal that ended the child; its resource use if asked.
int WaitFor(pid_t child, rusage* usage = nullptr);

}  // namespace wordhash
