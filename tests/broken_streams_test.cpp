// SPDX-License-Identifier: MIT
// The built program with standard streams that are closed, full, gone or otherwise broken:
// it must always end with the failure report and status 1, having written what came before.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <regex>
#include <string>
#include <thread>

#include "dialogue_test.h"
#include "fake_system.h"
#include "process.h"

namespace wordhash {

namespace {

const std::string& P = kCommandPrompt;

// The text of the source line addr2line names for a report's position, with its file's path
// in front; "" without addr2line.
std::string SourceLineOf(const std::string& report) {
  std::smatch position;
  if (access("/usr/bin/addr2line", X_OK) != 0 ||
      !std::regex_search(report, position, std::regex(" at ([0-9A-F]{8})\\."))) {
    return "";
  }
  const std::string command =
      std::string("/usr/bin/addr2line -e ") + WORDHASH_BINARY + " 0x" + position[1].str();
  FILE* pipe = popen(command.c_str(), "r");
  char named[4096] = {};
  if (pipe == nullptr || fgets(named, sizeof named, pipe) == nullptr) {
    named[0] = '\0';
  }
  if (pipe != nullptr) {
    pclose(pipe);
  }
  std::cmatch file_line;
  if (!std::regex_search(named, file_line, std::regex("^(.*):([0-9]+)"))) {
    return named;
  }
  std::ifstream source(file_line[1].str());
  std::string text;
  for (int line = std::stoi(file_line[2].str()); line > 0 && std::getline(source, text); --line) {
  }
  return file_line[1].str() + ": " + text;
}

enum class Input { kClosed, kListThenLeave, kDirectory };
using Output = StandardOutput;

struct BrokenCase {
  const char* name;
  Input input;
  StandardOutput output;
  std::string written;  // what a file as standard output holds afterwards
  std::string report;
  // The file and the statement the report's position names, where addr2line can tell.
  std::string failing_source{};
  std::string failing_statement{};
};

class BrokenStreams : public testing::TestWithParam<BrokenCase> {};

TEST_P(BrokenStreams, EndInTheReport) {
  const BrokenCase& test = GetParam();
  const int input = test.input == Input::kClosed      ? kClosed
                    : test.input == Input::kDirectory ? open("/", O_RDONLY | O_DIRECTORY)
                                                      : InputFile("3\r\n4\r\n");
  const std::string path = TemporaryFile("");
  const int output = OpenStandardOutput(test.output, path);
  const Outcome run = RunWired(input, output, path);
  EXPECT_EQ(run.status, 1) << "the report, not a death by signal";
  EXPECT_EQ(run.output, test.written);
  EXPECT_EQ(MaskedPosition(run.error), ReportLines(test.report));
  if (const std::string line = SourceLineOf(run.error);
      !test.failing_source.empty() && !line.empty()) {
    EXPECT_NE(line.find("src/" + test.failing_source + ": "), std::string::npos) << line;
    EXPECT_NE(line.find(test.failing_statement), std::string::npos) << line;
  }
}

// /dev/full is a character device, pushed line by line: its first write, the menu's first
// line, fails, where a block-buffered file would fail in the listing's first full block.
INSTANTIATE_TEST_SUITE_P(
    Streams, BrokenStreams,
    testing::Values(BrokenCase{"StandardOutputClosed", Input::kListThenLeave, Output::kNone, "",
                               "I/O error 105.", "app/command_driver.cpp", "console.EndLine();"},
                    BrokenCase{"StandardInputClosedAfterThePromptWasWritten", Input::kClosed,
                               Output::kFile, kMenu + P, "I/O error 104."},
                    BrokenCase{"StandardInputADirectory", Input::kDirectory, Output::kFile,
                               kMenu + P, "I/O error 21."},
                    BrokenCase{"DevFullIsACharacterDeviceSoTheFirstLineFails",
                               Input::kListThenLeave, Output::kDevFull, "", "Disk full.",
                               "app/command_driver.cpp", "console.EndLine();"},
                    BrokenCase{"ReaderOfThePipeHasGone", Input::kListThenLeave,
                               Output::kPipeWithoutReader, "", "I/O error 32."},
                    BrokenCase{"StandardOutputOpenedForReadingOnly", Input::kListThenLeave,
                               Output::kFileReadOnly, "", "I/O error 9."}),
    [](const testing::TestParamInfo<BrokenCase>& param) { return param.param.name; });

TEST(BrokenStreams, PendingOutputComesBeforeTheReport) {
  const Outcome run = RunWithDirectoryInput();
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(MaskedPosition(run.output), kMenu + P + ReportLines("I/O error 21."));
}

// Non-blocking pipes on both sides, a slow writer and a slow reader: the dialogue completes
// byte for byte, and the waits for the pipes do not spin. A spinning program uses the CPU for
// as long as it runs, however loaded the machine; this one uses a small part of that.
TEST(BrokenStreams, NonBlockingPipesWithSlowPeers) {
  std::string input;
  for (int i = 0; i < 1500; ++i) {
    input += "3\r\n";
  }
  input += "4\r\n";
  const std::string expected = InProcessOutput(input);

  int in[2], out[2];
  ASSERT_EQ(pipe2(in, O_CLOEXEC | O_NONBLOCK), 0);
  ASSERT_EQ(pipe2(out, O_CLOEXEC | O_NONBLOCK), 0);
  const auto start = std::chrono::steady_clock::now();
  const pid_t child = Spawn({in[0], out[1], STDERR_FILENO});
  close(in[0]);
  close(out[1]);
  std::thread writer([&] {
    for (std::size_t at = 0; at < input.size(); at += 1000) {
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
      WriteAll(in[1], input.substr(at, 1000));
    }
    close(in[1]);
  });
  std::this_thread::sleep_for(std::chrono::milliseconds(300));  // let the output pipe fill
  fcntl(out[0], F_SETFL, 0);
  std::string output;
  ReadToEnd(out[0], output);
  writer.join();
  close(out[0]);
  rusage usage{};
  EXPECT_EQ(WaitFor(child, &usage), 0);
  const double wall_seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  EXPECT_EQ(output, expected);
  const double cpu_seconds =
      static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
      static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
  EXPECT_LT(cpu_seconds, wall_seconds / 2) << "spinning on EAGAIN";
}

}  // namespace

}  // namespace wordhash
