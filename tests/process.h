// SPDX-License-Identifier: MIT
#pragma once

#include <gtest/gtest.h>
#include <sys/types.h>

#include <string>
#include <vector>

#include "child_process.h"

namespace wordhash {

// Runs the built wordhash as a user would, with its standard streams wired as a test needs.

// The command that starts the given binary: the binary itself, or the emulator that runs it
// where the tests are built for another machine.
std::vector<std::string> CommandFor(const std::string& binary);
// The command that starts the program under test: by default CommandFor(WORDHASH_BINARY).
void SetProgramCommand(std::vector<std::string> command);
// True where the program runs under user-mode emulation: limits and injected system calls
// would fall on the emulator, not on the program.
bool UnderEmulation();
// Replaces the calling process with the program under test.
[[noreturn]] void ExecProgram();

// Starts the program; the parent's copies of the descriptors stay open.
pid_t Spawn(const ChildStreams& streams);

struct Outcome {
  int status = -1;
  std::string output;
  std::string error;
  long peak_resident_bytes = 0;  // of the runs of RunWired and RunWithFiles
};

// Standard input, output and error all regular files.
Outcome RunWithFiles(const std::string& input);
// Standard input and output pipes, fed and drained at once; standard error a file.
Outcome RunWithPipes(const std::string& input);

// Standard input a directory, standard output and error one file: its bytes are the output.
Outcome RunWithDirectoryInput();

// Starts the program on a new pseudo-terminal in raw mode (no echo, no line-end translation),
// whose controlling side is returned in `terminal`. Canonical: the terminal serves a line at
// a time, and Ctrl-D hands a line over without its LF, or on an empty line ends the input.
pid_t SpawnOnTerminal(int& terminal, bool canonical = false);

// A terminal session: each answer is typed only once what the terminal shows since the last
// answer ends with its prompt, so a prompt that was not pushed out fails the session. Where a
// console draws the output (wine's), its escape sequences are left out of what is shown.
struct Exchange {
  std::string prompt;
  std::string answer;
};
testing::AssertionResult AnswerEachPrompt(int terminal, const std::vector<Exchange>& exchanges,
                                          bool drawn_by_console = false);

// Runs the program on the input through files and through pipes (only pipes, where a run is
// slow): each run must end with status 0, write exactly `expected` and nothing on standard
// error.
void ExpectDialogue(const std::string& input, const std::string& expected, bool pipes_only = false);

// Standard input and output as given (kClosed, or descriptors this call closes), standard
// error to a file. `output` of the outcome is read from output_path when one is given.
Outcome RunWired(int input, int output, const std::string& output_path = "");
// A descriptor reading a file that holds the bytes.
int InputFile(const std::string& bytes);
// The standard outputs the tests give the program, as a descriptor: none, the file at path
// opened for writing or for reading only, /dev/full, and a pipe whose reader has gone.
enum class StandardOutput { kNone, kFile, kFileReadOnly, kDevFull, kPipeWithoutReader };
int OpenStandardOutput(StandardOutput output, const std::string& path = "");

// A file holding the bytes, removed when the test binary ends; and its reverse.
std::string TemporaryFile(const std::string& bytes);
std::string ReadWholeFile(const std::string& path);

// Reads from fd until the text read so far ends with `expected` (true), or the time runs out,
// or the fd reaches its end (false). Appends what it read to `transcript`.
bool ReadUntil(int fd, const std::string& expected, std::string& transcript, int timeout_ms = 5000);
// Reads until the end of fd, appending to `text`.
void ReadToEnd(int fd, std::string& text);
void WriteAll(int fd, const std::string& bytes);

}  // namespace wordhash
