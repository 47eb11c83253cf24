// SPDX-License-Identifier: MIT
// The built program, run through real files, pipes and a pseudo-terminal.
#include <gtest/gtest.h>
#include <termios.h>
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

// A dialogue that uses every command and produces several 128-byte blocks.
const std::string kDialogue =
    "0\r\nab\r\n0\r\nba\r\n0\r\n\r\n  spaced  \r\n2\r\nba\r\n2\r\nzz\r\n2\r\n\r\n3\r\n1\r\n"
    "0\nlf only\n\r\n3abc\r\n0\r\n\xff\xfe\r\n3\r\n4\r\n";

TEST(WordhashBinary, WholeDialogueThroughFilesAndPipes) {
  // Lines that are not commands, each answered by a prompt, go first until the output ends
  // one byte into a block: that byte then goes out in a write of its own.
  std::string input = kDialogue;
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
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"", kMenu + P},
      {"0\r\n", kMenu + P + W},
      {"0\r\nlast", kMenu + P + W + "Comparies: 1\r\n4\r\n" + P},
      {"2\r\n", kMenu + P + W},
      {"0\x1a\r\nnever read\r\n", kMenu + P + W}};
  for (const auto& [input, output] : cases) {
    ExpectDialogue(input, output);
  }
}

TEST(WordhashBinary, HugeWordIsHeldOnceAndTheSearchedOneNotAtAll) {
  constexpr long kSize = 32L << 20;
  const std::string word(kSize, 'w');
  const std::string input = "0\n" + word + "\n3\n2\n" + word + "\n4\n";
  const Outcome leave = RunWithFiles("4\n");
  const Outcome run = RunWithFiles(input);
  EXPECT_EQ(leave.status, 0);
  EXPECT_EQ(run.status, 0);
  const long baseline = leave.peak_resident_bytes;
  const long peak = run.peak_resident_bytes;
  EXPECT_TRUE(run.output == InProcessOutput(input)) << "output differs";
  EXPECT_NE(run.output.find("Eto slovo naideni i nahodatsa po\r\nIndex is: " +
                            std::to_string(HashWord(word)) + "\r\nComparies: 1\r\n"),
            std::string::npos);
  // The stored word and some slack: no copy of it, and nothing of the searched one. (The
  // address sanitizer's realloc copies, so there a growing word is briefly held twice.)
#ifdef __SANITIZE_ADDRESS__
  const long limit = kSize * 5 / 2;
#else
  const long limit = kSize * 5 / 4;
#endif
  EXPECT_LT(peak - baseline, limit) << "peak " << peak << ", baseline " << baseline;
}

// A session on a pseudo-terminal: each answer is typed only once its prompt is on screen,
// so a prompt that was not pushed to the terminal makes the test time out.
TEST(WordhashBinary, TerminalSessionShowsEachPromptBeforeWaiting) {
  int terminal = -1;
  const pid_t child = SpawnOnTerminal(terminal);
  const std::vector<std::pair<std::string, std::string>> exchanges = {
      {kMenu + P, "0\n"},
      {W, "\n"},
      {W, "hello\n"},
      {"Comparies: 1\r\n4\r\n" + P, "2\n"},
      {W, "hello\n"},
      {"Eto slovo naideni i nahodatsa po\r\nIndex is: 4\r\nComparies: 1\r\n" + P, "3\n"},
      {Listing({{4, "hello"}}) + P, "4\n"}};
  std::string transcript;
  for (const auto& [shown, typed] : exchanges) {
    ASSERT_TRUE(ReadUntil(terminal, shown, transcript))
        << "waiting for: " << shown << "\nsaw: " << transcript;
    WriteAll(terminal, typed);
  }
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
  const pid_t child = SpawnOnTerminal(terminal);
  termios modes{};
  ASSERT_EQ(tcgetattr(terminal, &modes), 0);
  modes.c_lflag |= ICANON;  // where Ctrl-D means end of input
  modes.c_cc[VEOF] = 4;
  ASSERT_EQ(tcsetattr(terminal, TCSANOW, &modes), 0);
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
