// SPDX-License-Identifier: MIT
// The built program with standard streams that are closed, full, gone or otherwise broken:
// it must always end with the failure report and status 1, having written what came before.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <regex>
#include <string>
#include <thread>

#include "app/program.h"
#include "dialogue_test.h"
#include "fake_system.h"
#include "process.h"

namespace wordhash {

namespace {

const std::string& P = kCommandPrompt;

std::string Report(const std::string& message, const std::string& kind = "EInOutError") {
  return ReportLines(message, kind);
}

TEST(BrokenStreams, StandardOutputClosed) {
  const Outcome run = RunWired(InputFile("4\r\n"), kClosed);
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(MaskedPosition(run.error), Report("I/O error 105."));
}

TEST(BrokenStreams, StandardInputClosedAfterThePromptWasWritten) {
  const std::string output_path = TemporaryFile("");
  const Outcome run = RunWired(kClosed, open(output_path.c_str(), O_WRONLY), output_path);
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.output, kMenu + P);
  EXPECT_EQ(MaskedPosition(run.error), Report("I/O error 104."));
}

TEST(BrokenStreams, StandardInputADirectory) {
  const std::string output_path = TemporaryFile("");
  const Outcome run =
      RunWired(open("/", O_RDONLY | O_DIRECTORY), open(output_path.c_str(), O_WRONLY), output_path);
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.output, kMenu + P);
  EXPECT_EQ(MaskedPosition(run.error), Report("I/O error 21."));
}

TEST(BrokenStreams, DevFullIsACharacterDeviceSoTheFirstLineFails) {
  const Outcome run = RunWired(InputFile("3\r\n4\r\n"), open("/dev/full", O_WRONLY));
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(MaskedPosition(run.error), Report("Disk full."));
}

TEST(BrokenStreams, ReaderOfThePipeHasGone) {
  int pipe_ends[2];
  ASSERT_EQ(pipe(pipe_ends), 0);
  close(pipe_ends[0]);
  const Outcome run = RunWired(InputFile("4\r\n"), pipe_ends[1]);
  EXPECT_EQ(run.status, 1) << "a write error, not death by SIGPIPE";
  EXPECT_EQ(MaskedPosition(run.error), Report("I/O error 32."));
}

TEST(BrokenStreams, StandardOutputOpenedForReadingOnly) {
  const std::string output_path = TemporaryFile("");
  const Outcome run =
      RunWired(InputFile("4\r\n"), open(output_path.c_str(), O_RDONLY), output_path);
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.output, "");
  EXPECT_EQ(MaskedPosition(run.error), Report("I/O error 9."));
}

TEST(BrokenStreams, PendingOutputComesBeforeTheReport) {
  const std::string path = TemporaryFile("");
  const int both = open(path.c_str(), O_WRONLY | O_APPEND);
  const int status = WaitFor(Spawn({open("/", O_RDONLY | O_DIRECTORY), both, both}));
  close(both);
  EXPECT_EQ(status, 1);
  EXPECT_EQ(MaskedPosition(ReadWholeFile(path)), kMenu + P + Report("I/O error 21."));
}

TEST(BrokenStreams, WordLargerThanTheAddressSpaceIsReportedAsOutOfMemory) {
#ifdef __SANITIZE_ADDRESS__
  GTEST_SKIP() << "the address sanitizer cannot start under an address-space limit";
#endif
  if (UnderEmulation()) {
    GTEST_SKIP() << "under emulation the limit falls on the emulator";
  }
  const std::string word(64 << 20, 'x');
  const std::string output_path = TemporaryFile("");
  const Outcome run = RunWired(InputFile("0\r\n" + word + "\r\n4\r\n"),
                               open(output_path.c_str(), O_WRONLY), output_path, 48L << 20);
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.output, kMenu + P + kWordPrompt);
  EXPECT_EQ(MaskedPosition(run.error), Report("Out of memory.", "EOutOfMemory"));
}

TEST(BrokenStreams, PositionNamesASourceLineOfTheProgram) {
  if (access("/usr/bin/addr2line", X_OK) != 0) {
    GTEST_SKIP() << "addr2line is not installed";
  }
  const Outcome run = RunWired(open("/", O_RDONLY | O_DIRECTORY), kClosed);
  std::smatch position;
  ASSERT_TRUE(std::regex_search(run.error, position, std::regex(" at ([0-9A-F]{8})\\.")));
  const std::string command =
      std::string("/usr/bin/addr2line -e ") + WORDHASH_BINARY + " 0x" + position[1].str();
  FILE* pipe = popen(command.c_str(), "r");
  ASSERT_NE(pipe, nullptr);
  char line[4096] = {};
  ASSERT_NE(fgets(line, sizeof line, pipe), nullptr);
  pclose(pipe);
  // The first statement to fail here writes the menu, in the command driver.
  EXPECT_TRUE(std::regex_search(line, std::regex("src/app/command_driver\\.cpp:[0-9]+"))) << line;
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
  int status = 0;
  rusage usage{};
  ASSERT_EQ(wait4(child, &status, 0, &usage), child);
  const double wall_seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  EXPECT_EQ(output, expected);
  const double cpu_seconds =
      static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
      static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
  EXPECT_LT(cpu_seconds, wall_seconds / 2) << "spinning on EAGAIN";
}

}  // namespace

}  // namespace wordhash
