// SPDX-License-Identifier: MIT
#include "process.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <pty.h>
#include <sys/resource.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <regex>
#include <sstream>
#include <stdexcept>
#include <string_view>
#include <thread>

namespace wordhash {

namespace {

std::vector<std::string>& TemporaryFiles() {
  static std::vector<std::string> files;
  static const struct Cleanup {
    ~Cleanup() {
      for (const std::string& file : files) {
        std::remove(file.c_str());
      }
    }
  } cleanup;
  return files;
}

std::vector<std::string>& ProgramCommand() {
  static std::vector<std::string> command = CommandFor(WORDHASH_BINARY);
  return command;
}

}  // namespace

bool UnderEmulation() {
  return !std::string_view(WORDHASH_EMULATOR).empty();
}

std::vector<std::string> CommandFor(const std::string& binary) {
  if (UnderEmulation()) {
    return {WORDHASH_EMULATOR, binary};
  }
  return {binary};
}

void SetProgramCommand(std::vector<std::string> command) {
  ProgramCommand() = std::move(command);
}

void ExecProgram() {
  std::vector<char*> argv = ArgumentVector(ProgramCommand());
  execve(argv[0], argv.data(), EnvironmentWithoutMallocTuning().data());
  _exit(127);
}

pid_t Spawn(const ChildStreams& streams) {
  return SpawnCommand(ProgramCommand(), streams);
}

std::string TemporaryFile(const std::string& bytes) {
  char path[] = "/tmp/wordhash-test-XXXXXX";
  const int fd = mkstemp(path);
  if (fd < 0) {
    throw std::runtime_error("mkstemp failed");
  }
  WriteAll(fd, bytes);
  close(fd);
  TemporaryFiles().emplace_back(path);
  return path;
}

std::string ReadWholeFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

void WriteAll(int fd, const std::string& bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t written = write(fd, bytes.data() + done, bytes.size() - done);
    if (written > 0) {
      done += static_cast<std::size_t>(written);
    } else if (errno == EAGAIN) {
      pollfd ready{fd, POLLOUT, 0};
      poll(&ready, 1, 1000);
    } else if (errno != EINTR) {
      return;
    }
  }
}

bool ReadUntil(int fd, const std::string& expected, std::string& transcript, int timeout_ms) {
  const std::size_t start = transcript.size();
  char buffer[4096];
  for (;;) {
    const std::string_view seen = std::string_view(transcript).substr(start);
    if (seen.size() >= expected.size() && seen.substr(seen.size() - expected.size()) == expected) {
      return true;
    }
    pollfd ready{fd, POLLIN, 0};
    if (poll(&ready, 1, timeout_ms) <= 0) {
      return false;
    }
    const ssize_t got = read(fd, buffer, sizeof buffer);
    if (got <= 0) {
      return false;
    }
    transcript.append(buffer, static_cast<std::size_t>(got));
  }
}

testing::AssertionResult AnswerEachPrompt(int terminal, const std::vector<Exchange>& exchanges,
                                          bool drawn_by_console) {
  const std::regex escape("\x1b\\[[0-9;?]*[A-Za-z]");
  for (const auto& [prompt, answer] : exchanges) {
    std::string transcript;
    std::string shown;
    for (int wait = 0; !shown.ends_with(prompt); ++wait) {
      if (wait == 200) {  // 20 s: wine's console is slow to draw
        return testing::AssertionFailure() << "waiting for: " << prompt << "\nsaw: " << shown;
      }
      ReadUntil(terminal, "\x01never", transcript, 100);
      shown = drawn_by_console ? std::regex_replace(transcript, escape, "") : transcript;
    }
    WriteAll(terminal, answer);
  }
  return testing::AssertionSuccess();
}

void ReadToEnd(int fd, std::string& text) {
  char buffer[65536];
  for (;;) {
    const ssize_t got = read(fd, buffer, sizeof buffer);
    if (got > 0) {
      text.append(buffer, static_cast<std::size_t>(got));
    } else if (got == 0 || errno != EINTR) {
      return;
    }
  }
}

Outcome RunWithFiles(const std::string& input) {
  const std::string output_path = TemporaryFile("");
  return RunWired(InputFile(input), open(output_path.c_str(), O_WRONLY), output_path);
}

Outcome RunWithPipes(const std::string& input) {
  int in[2], out[2];
  if (pipe2(in, O_CLOEXEC) != 0 || pipe2(out, O_CLOEXEC) != 0) {
    throw std::runtime_error("pipe failed");
  }
  const std::string error_path = TemporaryFile("");
  const int error = open(error_path.c_str(), O_WRONLY);
  const pid_t child = Spawn({in[0], out[1], error});
  close(in[0]);
  close(out[1]);
  close(error);
  // Feed and drain at once: either side may fill its pipe while the other waits. A program
  // that leaves before reading all must not take the test down with SIGPIPE.
  std::signal(SIGPIPE, SIG_IGN);
  std::thread feeder([&] {
    WriteAll(in[1], input);
    close(in[1]);
  });
  Outcome outcome;
  ReadToEnd(out[0], outcome.output);
  close(out[0]);
  feeder.join();
  outcome.status = WaitFor(child);
  outcome.error = ReadWholeFile(error_path);
  return outcome;
}

Outcome RunWired(int input, int output, const std::string& output_path) {
  const std::string error_path = TemporaryFile("");
  const int error = open(error_path.c_str(), O_WRONLY);
  Outcome outcome;
  rusage usage{};
  outcome.status = WaitFor(Spawn({input, output, error}), &usage);
  outcome.peak_resident_bytes = usage.ru_maxrss * 1024L;
  close(error);
  if (input != kClosed) {
    close(input);
  }
  if (output != kClosed) {
    close(output);
  }
  outcome.output = output_path.empty() ? "" : ReadWholeFile(output_path);
  outcome.error = ReadWholeFile(error_path);
  return outcome;
}

Outcome RunWithDirectoryInput() {
  const std::string path = TemporaryFile("");
  const int both = open(path.c_str(), O_WRONLY | O_APPEND);
  Outcome outcome;
  outcome.status = WaitFor(Spawn({open("/", O_RDONLY | O_DIRECTORY), both, both}));
  close(both);
  outcome.output = ReadWholeFile(path);
  return outcome;
}

int InputFile(const std::string& bytes) {
  return open(TemporaryFile(bytes).c_str(), O_RDONLY);
}

int OpenStandardOutput(StandardOutput output, const std::string& path) {
  int ends[2];
  switch (output) {
    case StandardOutput::kFile:
      return open(path.c_str(), O_WRONLY | O_CLOEXEC);
    case StandardOutput::kFileReadOnly:
      return open(path.c_str(), O_RDONLY | O_CLOEXEC);
    case StandardOutput::kDevFull:
      return open("/dev/full", O_WRONLY | O_CLOEXEC);
    case StandardOutput::kPipeWithoutReader:
      if (pipe2(ends, O_CLOEXEC) != 0) {
        return kClosed;
      }
      close(ends[0]);
      return ends[1];
    case StandardOutput::kNone:
      break;
  }
  return kClosed;
}

void ExpectDialogue(const std::string& input, const std::string& expected, bool pipes_only) {
  std::vector<Outcome> outcomes;
  if (!pipes_only) {
    outcomes.push_back(RunWithFiles(input));
  }
  outcomes.push_back(RunWithPipes(input));
  for (const Outcome& outcome : outcomes) {
    EXPECT_EQ(outcome.status, 0) << input;
    EXPECT_EQ(outcome.output, expected) << input;
    EXPECT_EQ(outcome.error, "") << input;
  }
}

pid_t SpawnOnTerminal(int& terminal, bool canonical) {
  termios modes{};
  cfmakeraw(&modes);
  if (canonical) {
    modes.c_lflag |= ICANON;
    modes.c_cc[VEOF] = 4;  // Ctrl-D
  }
  const pid_t child = forkpty(&terminal, nullptr, &modes, nullptr);
  if (child == 0) {
    ExecProgram();
  }
  if (child < 0) {
    throw std::runtime_error("forkpty failed");
  }
  return child;
}

}  // namespace wordhash
