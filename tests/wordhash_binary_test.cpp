// SPDX-License-Identifier: MIT
// The built program, run through real files, pipes and a pseudo-terminal.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <csignal>
#include <string>
#include <utility>
#include <vector>

#include "dialogue_test.h"
#include "fake_system.h"
#include "process.h"
#include "table/hash_table.h"

namespace wordhash {

namespace {

const std::string& P = kCommandPrompt;
const std::string& W = kWordPrompt;

TEST(WordhashBinary, WholeDialogueThroughFilesAndPipes) {
  // Lines that are not commands, each answered by a prompt, go first until the output ends
  // one byte into a block: that byte then goes out in a write of its own.
  std::string input = kEveryCommandDialogue;
  while (InProcessOutput(input).size() % 128 != 1) {
    input.insert(0, "x\r\n");
  }
  const std::string expected = InProcessOutput(input);
  ASSERT_GT(expected.size(), 3 * 128u);
  EXPECT_NE(expected.find("Eto slovo naideno\r\nIndex is: 4\r\nComparies: 3\r\n"),
            std::string::npos);
  ExpectDialogue(input, expected);
}

TEST(WordhashBinary, EndOfInputEndsTheRunWithStatusZero) {
  for (const auto& [input, output] : EndOfInputRuns()) {
    ExpectDialogue(input, output);
  }
}

// The words alive at a run's peak are held once and a searched word not at all, whatever
// was freed before: the peak is their bytes and a little more.
TEST(WordhashBinary, HugeWordsAreHeldOnceAndSearchedOnesNotAtAll) {
  constexpr std::size_t kMiB = std::size_t{1} << 20;
  const InputPart word{"w", 24 * kMiB};
  const InputPart freed{"f", 8 * kMiB};
  std::string full_table;
  for (char letter = 'a'; letter <= 'l'; ++letter) {
    full_table += std::string("0\n") + letter + "\n";
  }
  const struct {
    const char* name;
    std::vector<InputPart> input;
    std::size_t alive_bytes;
  } cases[] = {
      {"added and searched", {{"0\n"}, word, {"\n3\n2\n"}, word, {"\n4\n"}}, 24 * kMiB},
      {"after a refused one", {{full_table + "0\n"}, freed, {"\n0\n"}, word, {"\n4\n"}}, 24 * kMiB},
      {"after one already there",
       {{"0\n"}, freed, {"\n0\n"}, freed, {"\n0\n"}, word, {"\n2\n"}, word, {"\n4\n"}},
       32 * kMiB}};
  // A child's peak counts the test's own pages until its exec: every run is made before the
  // test holds a dialogue whole, and each baseline in the same state as its run.
  std::vector<std::string> outputs;
  for (const auto& test : cases) {
    const std::string input_path = TemporaryFile("");
    outputs.push_back(TemporaryFile(""));
    WriteInputFile(input_path, test.input);
    const long baseline = RunWithFiles("4\n").peak_resident_bytes;
    const Outcome run = RunWired(open(input_path.c_str(), O_RDONLY | O_CLOEXEC),
                                 open(outputs.back().c_str(), O_WRONLY | O_CLOEXEC));
    EXPECT_EQ(run.status, 0) << test.name;
    // The address sanitizer's realloc copies, and its allocator keeps freed blocks in
    // quarantine: there a run has taken up to 4.6 times the bytes alive.
#ifdef __SANITIZE_ADDRESS__
    const auto limit = static_cast<long>(test.alive_bytes * 5 + 16 * kMiB);
#else
    const auto limit = static_cast<long>(test.alive_bytes + 4 * kMiB);
#endif
    EXPECT_LT(run.peak_resident_bytes - baseline, limit) << test.name;
  }
  for (std::size_t i = 0; i < outputs.size(); ++i) {
    EXPECT_TRUE(ReadWholeFile(outputs[i]) == InProcessOutput(InputText(cases[i].input)))
        << cases[i].name << ": output differs";
  }
}

// A session on a pseudo-terminal, each answer typed once its prompt is on screen.
TEST(WordhashBinary, TerminalSessionShowsEachPromptBeforeWaiting) {
  int terminal = -1;
  const pid_t child = SpawnOnTerminal(terminal);
  ASSERT_TRUE(AnswerEachPrompt(
      terminal, {{kMenu + P, "0\n"},
                 {W, "\n"},
                 {W, "hello\n"},
                 {"Comparies: 1\r\n4\r\n" + P, "2\n"},
                 {W, "hello\n"},
                 {"Eto slovo naideni i nahodatsa po\r\nIndex is: 4\r\nComparies: 1\r\n" + P, "3\n"},
                 {Listing({{4, "hello"}}) + P, "4\n"}}));
  EXPECT_EQ(WaitFor(child), 0);
  std::string rest;
  ReadUntil(terminal, "\x01never", rest, 200);
  EXPECT_EQ(rest, "") << "nothing after the command 4";
  close(terminal);
}

// Ctrl-D after a typed command sends the command without a line end, and a second Ctrl-D
// ends the input: the search's prompt shows and the run ends there, the next line unread.
TEST(WordhashBinary, TerminalEndWithinACommandLineEndsTheRun) {
  int terminal = -1;
  const pid_t child = SpawnOnTerminal(terminal, /*canonical=*/true);
  std::string transcript;
  ASSERT_TRUE(ReadUntil(terminal, kMenu + P, transcript)) << transcript;
  WriteAll(terminal, "2\x04\x04");
  ASSERT_TRUE(ReadUntil(terminal, W, transcript)) << transcript;
  WriteAll(terminal, "never read\n");
  std::string rest;
  ReadUntil(terminal, "\x01never", rest, 2000);  // returns when the run ends
  kill(child, SIGKILL);  // a run still reading fails the test instead of hanging it
  EXPECT_EQ(WaitFor(child), 0);
  EXPECT_EQ(rest, "") << "nothing after the search's prompt";
  close(terminal);
}

}  // namespace

}  // namespace wordhash
