// SPDX-License-Identifier: MIT
// A Windows program, cross-built, run under wine as a user runs it: the 32-bit or the 64-bit
// one (WORDHASH_WINE_BITS), each in a wine prefix of its own. The 32-bit and the 64-bit program
// pass the same tests. Where wine answers differently from Windows, the test says so and checks
// what wine does.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "dialogue_test.h"
#include "fake_system.h"
#include "process.h"

namespace wordhash {

namespace {

const std::string& P = kCommandPrompt;

// tools/wine_test.sh says when the 32-bit program cannot run here, or runs only emulated,
// where a start takes over a minute: then only the core tests (the whole dialogue and the end
// of input, through pipes, and one failure report) run.
class WineTest : public testing::Test {
 protected:
  explicit WineTest(bool core = false) : core_(core) {}

  void SetUp() override {
    const char* bits = std::getenv("WORDHASH_WINE_BITS");
    ASSERT_NE(bits, nullptr) << "WORDHASH_WINE_BITS: 32 or 64";
    const bool is32 = std::string_view(bits) == "32";
    if (const char* why = std::getenv("WORDHASH_WINE32_SKIP"); is32 && why != nullptr) {
      GTEST_SKIP() << why;
    }
    emulated_ = is32 && std::getenv("WORDHASH_WINE32_EMULATED") != nullptr;
    if (emulated_ && !core_) {
      GTEST_SKIP() << "i386 code runs only under qemu here: the core tests stand for the rest";
    }
    setenv("WINEDEBUG", "-all", 1);
    setenv("WINEPREFIX", (WINE_PREFIX_STEM + std::string(bits)).c_str(), 1);
    SetProgramCommand({WINE64, is32 ? WORDHASH_WIN32_EXE : WORDHASH_WIN64_EXE});
  }

  // Through a file and a pipe; emulated, through a pipe only, whose end is the one wine maps.
  void ExpectRun(const std::string& input, const std::string& output) const {
    ExpectDialogue(input, output, emulated_);
  }

 private:
  bool core_;
  bool emulated_ = false;
};

class WineCoreTest : public WineTest {
 protected:
  WineCoreTest() : WineTest(true) {}
};

std::string Report(const std::string& message) {
  return ReportLines(message, "EInOutError", "wordhash.exe");
}

TEST_F(WineCoreTest, WholeDialogueThroughFilesAndPipes) {
  ExpectRun(kEveryCommandDialogue, InProcessOutput(kEveryCommandDialogue));
}

TEST_F(WineCoreTest, EndOfInputEndsTheRunWithStatusZero) {
  // A pipe whose writer has gone reads as ERROR_BROKEN_PIPE or as no bytes: end of input.
  for (const auto& [input, output] : EndOfInputRuns()) {
    ExpectRun(input, output);
  }
}

// Wine puts its own console between the program and a terminal: it draws the program's
// output with escape sequences and moves the cursor over a prompt's trailing space instead
// of writing it. What is checked here is the text shown, prompts without that space; on
// Windows the console receives the program's bytes as they are.
TEST_F(WineTest, TerminalSessionShowsEachPromptBeforeWaiting) {
  const std::string last_menu_line = kMenu.substr(kMenu.rfind("\r\n", kMenu.size() - 3) + 2);
  const std::string shown_prompt = kCommandPrompt.substr(0, kCommandPrompt.size() - 1);
  int terminal = -1;
  const pid_t child = SpawnOnTerminal(terminal);
  ASSERT_TRUE(AnswerEachPrompt(terminal,
                               {{last_menu_line + shown_prompt, "0\r"},
                                {kWordPrompt.substr(0, kWordPrompt.size() - 1), "hello\r"},
                                {"Comparies: 1\r\n4\r\n" + shown_prompt, "4\r"}},
                               true));
  EXPECT_EQ(WaitFor(child), 0);
  close(terminal);
}

// Failures. The report names the module wordhash.exe, and codes are GetLastError's numbers.

// What each broken standard output gives, and what Windows would give where wine differs.
struct BrokenOutput {
  const char* name;
  StandardOutput output;
  std::vector<std::string> messages;  // wine's first, then Windows' where it differs
};

class WineBrokenOutput : public WineTest, public testing::WithParamInterface<BrokenOutput> {};

TEST_P(WineBrokenOutput, EndsInTheReport) {
  const Outcome run = RunWired(InputFile("4\r\n"), OpenStandardOutput(GetParam().output));
  EXPECT_EQ(run.status, 1);
  std::vector<std::string> reports;
  for (const std::string& message : GetParam().messages) {
    reports.push_back(Report(message));
  }
  EXPECT_NE(std::find(reports.begin(), reports.end(), MaskedPosition(run.error)), reports.end())
      << run.error;
}

// /dev/full is a character device to wine as well: the first menu line fails with
// ERROR_DISK_FULL. Windows says ERROR_NO_DATA (232) for a pipe whose reader has gone, wine
// ERROR_PIPE_NOT_CONNECTED (233). Windows gives a process without standard output no handle:
// GetFileType fails and the code is 105; wine hands over a handle whose writes fail with
// ERROR_INVALID_HANDLE (6).
INSTANTIATE_TEST_SUITE_P(Outputs, WineBrokenOutput,
                         testing::Values(BrokenOutput{"DiskFullIsWindowsErrorDiskFull",
                                                      StandardOutput::kDevFull,
                                                      {"I/O error 112."}},
                                         BrokenOutput{"ReaderOfThePipeHasGone",
                                                      StandardOutput::kPipeWithoutReader,
                                                      {"I/O error 233.", "I/O error 232."}},
                                         BrokenOutput{"StandardOutputClosed",
                                                      StandardOutput::kNone,
                                                      {"I/O error 6.", "I/O error 105."}}),
                         [](const testing::TestParamInfo<BrokenOutput>& param) {
                           return param.param.name;
                         });

TEST_F(WineCoreTest, PendingOutputComesBeforeTheReport) {
  // Wine reads a directory as ERROR_INVALID_FUNCTION (1); Windows cannot make one stdin.
  const Outcome run = RunWithDirectoryInput();
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(MaskedPosition(run.output), kMenu + P + Report("I/O error 1."));
}

}  // namespace

}  // namespace wordhash
