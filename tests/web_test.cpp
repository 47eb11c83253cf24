// SPDX-License-Identifier: MIT
// The page's program (WebAssembly) under node, typed to as the page types to it: a line at a
// time, Ctrl-D at the end. It must answer as the Linux program does.
#include <gtest/gtest.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "dialogue_test.h"
#include "fake_system.h"
#include "process.h"

namespace wordhash {

namespace {

const std::string kWebBuild = WORDHASH_WEB_DIR;

class WebModule : public testing::Test {
 protected:
  void SetUp() override {
    if (access(NODE, X_OK) != 0) {
      GTEST_SKIP() << "no node (Debian's nodejs)";
    }
    if (access((kWebBuild + "/page/wordhash.js").c_str(), R_OK) != 0) {
      GTEST_SKIP() << "no program in " << kWebBuild << ": make web builds it";
    }
  }
  void TearDown() override { SetProgramCommand(CommandFor(WORDHASH_BINARY)); }

  static void UseModule(const std::string& module) {
    SetProgramCommand({NODE, WEB_RUN, kWebBuild + "/" + module});
  }
};

// The Linux program on a canonical pseudo-terminal, typed the input and then Ctrl-D twice:
// the first hands over a last line that has no LF, the second ends the input.
Outcome RunOnTerminal(const std::string& input) {
  SetProgramCommand(CommandFor(WORDHASH_BINARY));
  int terminal = -1;
  const pid_t child = SpawnOnTerminal(terminal, /*canonical=*/true);
  Outcome run;
  ReadUntil(terminal, kMenu + kCommandPrompt, run.output);  // the terminal is set by then
  WriteAll(terminal, input + "\x04\x04");
  ReadToEnd(terminal, run.output);
  close(terminal);
  run.status = WaitFor(child);
  return run;
}

TEST_F(WebModule, AnswersEveryDialogueAsTheLinuxProgramDoes) {
  UseModule("page/wordhash.js");
  for (const auto& [input, output] : EndOfInputRuns()) {
    ExpectDialogue(input, output, /*pipes_only=*/true);
  }
  ExpectDialogue(kEveryCommandDialogue, InProcessOutput(kEveryCommandDialogue), true);
  // A 26 is the end of the input where a read starts with it, and ends a line inside one: a
  // terminal's reads start at each line, a file's every 128 bytes.
  const std::vector<std::string> split_dependent = {
      "0\r\n\x1a"
      "ab\r\n3\r\n4\r\n",
      "0\r\nab\r\n\x1a"
      "3\r\n4\r\n",
      "2\r\nab\x1a"
      "cd\r\n4\r\n"};
  for (const std::string& input : split_dependent) {
    const Outcome linux_run = RunOnTerminal(input);
    UseModule("page/wordhash.js");
    const Outcome web_run = RunWithPipes(input);
    EXPECT_EQ(web_run.status, linux_run.status) << testing::PrintToString(input);
    EXPECT_TRUE(web_run.output == linux_run.output) << testing::PrintToString(input);
  }
}

// Memory grows as a word needs it, up to the maximum; beyond it is the program's report.
TEST_F(WebModule, WordBeyondTheMemoryMaximumIsReportedAsOutOfMemory) {
  constexpr std::size_t kMiB = std::size_t{1} << 20;
  const struct {
    const char* module;
    std::size_t word_size;
    int status;
  } cases[] = {{"page/wordhash.js", 24 * kMiB, 0}, {"wordhash_small_memory.js", 12 * kMiB, 1}};
  for (const auto& test : cases) {
    UseModule(test.module);
    const std::string input = "0\n" + std::string(test.word_size, 'w') + "\n4\n";
    const Outcome run = RunWithFiles(input);
    EXPECT_EQ(run.status, test.status) << test.module;
    if (test.status == 0) {
      EXPECT_TRUE(run.output == InProcessOutput(input)) << test.module;
    } else {
      EXPECT_EQ(run.output, kMenu + kCommandPrompt + kWordPrompt);
      EXPECT_EQ(MaskedPosition(run.error), ReportLines("Out of memory.", "EOutOfMemory"));
    }
  }
}

}  // namespace

}  // namespace wordhash
