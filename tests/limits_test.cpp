// SPDX-License-Identifier: MIT
// The built program under resource limits, failing system calls and a program file that goes
// away: every run ends normally or in the failure report, never by a signal, an abort or a
// spin.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <string>
#include <utility>
#include <vector>

#include "dialogue_test.h"
#include "fake_system.h"
#include "process.h"

namespace wordhash {

namespace {

const std::string& P = kCommandPrompt;

// Runs the program through `wrapper` (a shell or strace, with the program's path last).
class WrappedRun : public testing::Test {
 protected:
  void SetUp() override {
    if (UnderEmulation()) {
      GTEST_SKIP() << "under emulation the limits and injections fall on the emulator";
    }
  }
  void TearDown() override { SetProgramCommand(CommandFor(WORDHASH_BINARY)); }

  Outcome Run(std::vector<std::string> wrapper, int input, const std::string& input_text = "") {
    wrapper.emplace_back(WORDHASH_BINARY);
    SetProgramCommand(std::move(wrapper));
    const std::string output_path = TemporaryFile("");
    return RunWired(input == kClosed ? InputFile(input_text) : input,
                    open(output_path.c_str(), O_WRONLY), output_path);
  }

  static std::vector<std::string> Shell(const std::string& limit) {
    return {"/bin/bash", "-c", limit + "; exec \"$0\""};
  }
  static std::vector<std::string> AddressSpaceLimit(long kib) {
    return Shell("ulimit -v " + std::to_string(kib));
  }

  // Empty where injected failures cannot be made or would not reach the program alone.
  static std::vector<std::string> Strace(const std::string& injection) {
#ifdef __SANITIZE_ADDRESS__
    return {};  // the sanitizers' runtime makes system calls of its own
#endif
    if (access("/usr/bin/strace", X_OK) != 0) {
      return {};
    }
    return {"/usr/bin/strace", "-f", "-qq", "-o", "/dev/null", "-e", injection};
  }
};

// Runs under `ulimit -v`, where the address sanitizer cannot start.
class LimitedAddressSpace : public WrappedRun {
 protected:
  void SetUp() override {
    WrappedRun::SetUp();
#ifdef __SANITIZE_ADDRESS__
    GTEST_SKIP() << "the address sanitizer cannot start under an address-space limit";
#endif
  }
};

// Output to a file under `ulimit -f 1`: the write past 1,024 bytes fails with EFBIG and is
// reported, and every block before it is delivered.
TEST_F(WrappedRun, FileSizeLimitIsAReportedFailureNotADeathBySignal) {
  std::string input;
  for (int i = 0; i < 20; ++i) {
    input += "3\n";
  }
  input += "4\n";
  const Outcome run = Run(Shell("ulimit -f 1"), kClosed, input);
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.output, InProcessOutput(input).substr(0, 1024));
  // (A coverage build's own profile, written at exit under the same limit, may complain after.)
  EXPECT_TRUE(MaskedPosition(run.error).starts_with(ReportLines("I/O error 27."))) << run.error;
}

// Just above what the loader needs, and on up: whatever memory is left, a run ends in its
// dialogue or in the out-of-memory report.
TEST_F(LimitedAddressSpace, TinyAddressSpacesEndInTheDialogueOrTheReport) {
  const std::string input = "0\n" + std::string(5000, 'w') + "\n4\n";
  const std::string dialogue = InProcessOutput(input);
  const std::string before_word = kMenu + P + kWordPrompt;
  int reports = 0;
  for (int kib = 1800; kib <= 4000; kib += 100) {
    const Outcome run = Run(AddressSpaceLimit(kib), kClosed, input);
    if (run.status == 127) {
      continue;  // the loader itself could not map the program
    }
    if (run.status == 1) {
      ++reports;
      EXPECT_EQ(run.output, before_word) << kib << " KiB";
      EXPECT_EQ(MaskedPosition(run.error), ReportLines("Out of memory.", "EOutOfMemory"))
          << kib << " KiB";
    } else {
      EXPECT_EQ(run.status, 0) << kib << " KiB: " << run.error;
      EXPECT_EQ(run.output, dialogue) << kib << " KiB";
    }
  }
  RecordProperty("reports", reports);
}

TEST_F(LimitedAddressSpace, WordLargerThanTheAddressSpaceIsReportedAsOutOfMemory) {
  const std::string input = "0\r\n" + std::string(64 << 20, 'x') + "\r\n4\r\n";
  const Outcome run = Run(AddressSpaceLimit(48 << 10), kClosed, input);
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.output, kMenu + P + kWordPrompt);
  EXPECT_EQ(MaskedPosition(run.error), ReportLines("Out of memory.", "EOutOfMemory"));
}

// Words need about their own size of address space, however many came before: where a
// doubled block cannot be had a word grows by what it needs, a stored word gives back the room
// it grew beyond, and a freed word its whole block.
TEST_F(LimitedAddressSpace, HugeWordsNeedAboutTheirOwnSizeOfAddressSpace) {
  constexpr std::size_t kMiB = std::size_t{1} << 20;
  const std::string word(20 * kMiB, 'w');
  std::string full_table;
  for (char letter = 'a'; letter <= 'l'; ++letter) {
    full_table += std::string("0\n") + letter + "\n";
  }
  const std::pair<std::string, long> cases[] = {
      // Doubling from 16 MiB would need 32.
      {"0\n" + word + "\n2\n" + word + "\n4\n", 26 << 10},
      {full_table + "0\n" + word + "\n0\n" + word + "w\n4\n", 26 << 10},
      {"0\n" + word.substr(4 * kMiB) + "\n0\n" + word.substr(3 * kMiB) + "\n4\n", 39 << 10}};
  for (const auto& [input, limit_kib] : cases) {
    const Outcome run = Run(AddressSpaceLimit(limit_kib), kClosed, input);
    EXPECT_EQ(run.status, 0) << limit_kib << " KiB: " << run.error;
    EXPECT_TRUE(run.output == InProcessOutput(input)) << limit_kib << " KiB: output differs";
  }
}

// A system call made to fail by strace, where a naive program would spin: each is reported.
struct Injection {
  const char* name;
  const char* system_call;
  const char* injection;
  bool input_waits;  // standard input an empty non-blocking pipe held open, else a file
  std::string output;
  std::string message;
};

class InjectedFailure : public WrappedRun, public testing::WithParamInterface<Injection> {};

TEST_P(InjectedFailure, IsReportedNotRetriedForEver) {
  const Injection& test = GetParam();
  std::vector<std::string> strace = Strace(test.injection);
  if (strace.empty()) {
    GTEST_SKIP() << "strace is not installed, or the sanitizers would take the injection";
  }
  strace.insert(strace.end() - 2, {"-e", std::string("trace=") + test.system_call});
  Outcome run;
  if (test.input_waits) {
    int ends[2];
    ASSERT_EQ(pipe2(ends, O_CLOEXEC | O_NONBLOCK), 0);  // empty and held open: reads must wait
    run = Run(strace, ends[0]);
    close(ends[1]);
  } else {
    run = Run(strace, kClosed, "4\n");
  }
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.output, test.output);
  EXPECT_EQ(MaskedPosition(run.error), ReportLines(test.message));
}

// A write that takes no bytes is EIO (1005); a wait for input that fails, its own errno; a
// denied write, the code of that meaning.
INSTANTIATE_TEST_SUITE_P(
    Calls, InjectedFailure,
    testing::Values(Injection{"WriteThatTakesNoBytes", "write", "inject=write:retval=0:when=1",
                              false, "", "I/O error 1005."},
                    Injection{"FailedWaitForInput", "poll", "inject=poll:error=EINVAL", true,
                              kMenu + P, "I/O error 22."},
                    Injection{"WriteDeniedIsAccessDenied", "write",
                              "inject=write:error=EPERM:when=1", false, "", "File access denied."}),
    [](const testing::TestParamInfo<Injection>& param) { return param.param.name; });

// The program runs from a file deleted once it was opened; the report names the file, not the
// kernel's mark on it.
TEST_F(WrappedRun, DeletedProgramIsNamedByItsFile) {
  const char* run_deleted_copy =
      R"(d=$(mktemp -d) && cp "$0" "$d/wordhash" && exec 3<"$d/wordhash" && rm -r "$d" &&
         exec /proc/self/fd/3 >&-)";
  const Outcome run = Run({"/bin/bash", "-c", run_deleted_copy}, kClosed, "4\n");
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(MaskedPosition(run.error), ReportLines("I/O error 105."));
}

}  // namespace

}  // namespace wordhash
