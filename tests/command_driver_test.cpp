// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/program.h"
#include "dialogue_test.h"
#include "fake_system.h"

namespace wordhash {

namespace {

using Device = SystemInterface::Device;
const std::string& P = kCommandPrompt;
const std::string& W = kWordPrompt;

struct DialogueCase {
  const char* name;
  std::string input;
  std::string after_menu;  // everything written after the menu
  // A 26 that starts a device read ends the input; elsewhere it only ends a line. Dialogues
  // with a 26 inside a line therefore depend on how the input is split into reads.
  bool any_split = true;
};

class DialogueTest : public testing::TestWithParam<DialogueCase> {};

// Each dialogue runs in 128-byte reads and in single-byte reads: how the input is split must
// not change a byte of the output.
TEST_P(DialogueTest, WritesExactlyThis) {
  for (const std::size_t chunk : {std::size_t{128}, std::size_t{1}}) {
    if (chunk != 128 && !GetParam().any_split) {
      continue;
    }
    FakeSystem system;
    system.ScriptInput(GetParam().input, chunk);
    EXPECT_EQ(RunWordhash(system), 0);
    EXPECT_EQ(system.Output(), kMenu + GetParam().after_menu) << "reads of " << chunk;
    EXPECT_TRUE(system.ErrorWrites().empty());
  }
}

const std::string kEmptyListing = Listing();

// Words of 301 bytes and more that share the home slot 1 ('m' and "a\x0c" both add 109): a
// search must match a slot's whole word, across read boundaries, not a prefix or a part.
const std::string B(300, 'q');
const std::string kLongWordSearches = "0\n" + B + "a\x0c\n2\n" + B + "a\n0\n" + B + "a\n2\n" + B +
                                      "a\n2\n" + B + "m\n2\n" + B + "a\r\x0c\n2\n" + B +
                                      "a\x0c\x0c\n4\n";
const std::string kLongWordResults =
    P + W + "Comparies: 1\r\n1\r\n" + P + W + "Nenaideno eto slovo!\r\nComparies: 2\r\n" + P + W +
    "Comparies: 2\r\n1\r\n" + P + W + "Eto slovo naideno\r\nIndex is: 2\r\nComparies: 3\r\n" + P +
    W + "Nenaideno eto slovo!\r\nComparies: 4\r\n" + P + W +
    "Eto slovo naideni i nahodatsa po\r\nIndex is: 1\r\nComparies: 1\r\n" + P + W +
    "Nenaideno eto slovo!\r\nComparies: 4\r\n" + P;

INSTANTIATE_TEST_SUITE_P(
    Dialogues, DialogueTest,
    testing::Values(
        DialogueCase{"LeaveAtOnce", "4\r\n", P},
        DialogueCase{"NonCommandsOnlyPromptAgain", "1\r\nx\r\n\r\n \r\n4\r\n", P + P + P + P + P},
        DialogueCase{"AddListLeave", "0\r\na\r\n3\r\n4\r\n",
                     P + W + "Comparies: 1\r\n1\r\n" + P + Listing({{1, "a"}}) + P},
        DialogueCase{"EmptyWordsAskAgain", "0\r\n\r\n\n\r\n  \r\n4\r\n",
                     P + W + W + W + W + "Comparies: 1\r\n4\r\n" + P},
        DialogueCase{"AddTwiceAndCollide", "0\nab\n0\nab\n0\nba\n4\n",
                     P + W + "Comparies: 1\r\n3\r\n" + P + W +
                         "Kluch uge dobavlalsa!!.\r\nComparies: 1\r\n3\r\n" + P + W +
                         "Comparies: 2\r\n3\r\n" + P},
        DialogueCase{"SearchEmptyTableTakesAnEmptyWordAtOnce", "2\r\n\r\n4\r\n",
                     P + W + "Hash is empty\r\n" + P},
        DialogueCase{"LongWordsMatchWholeOnly", kLongWordSearches, kLongWordResults},
        // End of input ends the run at once, with no further prompt.
        DialogueCase{"NoInput", "", P}, DialogueCase{"AddAbandonedAtEndOfInput", "0\r\n", P + W},
        DialogueCase{"AddAbandonedAfterEmptyLines", "0\r\n\r\n\r\n", P + W + W + W},
        DialogueCase{"SearchAbandonedAtEndOfInput", "0\na\n2\n",
                     P + W + "Comparies: 1\r\n1\r\n" + P + W},
        DialogueCase{"LastWordWithoutLineEndIsAdded", "0\r\nabc",
                     P + W + "Comparies: 1\r\n6\r\n" + P},
        DialogueCase{"LastWordWithoutLineEndIsSearched", "0\na\n2\na",
                     P + W + "Comparies: 1\r\n1\r\n" + P + W +
                         "Eto slovo naideni i nahodatsa po\r\nIndex is: 1\r\nComparies: 1\r\n" + P},
        DialogueCase{"LastLineOfCrsIsTheEmptyWord", "0\nab\n2\n\r\r",
                     P + W + "Comparies: 1\r\n3\r\n" + P + W +
                         "Nenaideno eto slovo!\r\nComparies: 1\r\n" + P},
        // A 26 after a complete word line belongs to the next line: the word stands.
        DialogueCase{"SearchBeforeAMarkerRuns", "0\na\n2\n\n\x1a",
                     P + W + "Comparies: 1\r\n1\r\n" + P + W +
                         "Nenaideno eto slovo!\r\nComparies: 1\r\n" + P},
        DialogueCase{"MarkerAsCommandEndsTheRun", "\x1a\r\n3\r\n", P},
        DialogueCase{"MarkerStartingAWordLineIsAnEmptyWord", "0\n\r\n\x1a\n5\r\n3\n4\n",
                     P + W + W + W + "Comparies: 1\r\n5\r\n" + P + Listing({{5, "5"}}) + P, false},
        // The line's own end ran into the end of input: the add asks once more, and stops.
        DialogueCase{"EmptyWordCutShortByTheEndAsksOnceMore", "0\n\n\x1a", P + W + W + W, false}),
    [](const testing::TestParamInfo<DialogueCase>& param) { return param.param.name; });

// The input ending within a command line ends the run at the command's word prompt, and
// nothing after the end is read: the 26 in the command's own read, first in the next read,
// or a read that delivers nothing (Ctrl-D on a terminal).
TEST(DialogueEndOfInput, EndWithinACommandLineEndsTheRunAtTheWordPrompt) {
  const std::string up_to_the_word_prompt = kMenu + P + W;
  for (const std::string command : {"0", "2"}) {
    for (const std::vector<std::string>& reads :
         {std::vector<std::string>{command + "\x1a\n", "a\n"},
          std::vector<std::string>{command, "\x1a\n", "a\n"},
          std::vector<std::string>{command, "", "a\n"}}) {
      FakeSystem system;
      for (const std::string& read : reads) {
        system.reads.push_back({read});
      }
      EXPECT_EQ(RunWordhash(system), 0);
      EXPECT_EQ(system.Output(), up_to_the_word_prompt)
          << reads[0] << " in " << reads.size() << " reads";
      EXPECT_EQ(system.CountOf(FakeSystem::Kind::kRead), reads.size() - 1);
    }
  }
}

TEST(DialogueFullTable, AddFailsAndSearchCountsEveryProbe) {
  std::string input;
  std::string expected = P;
  for (int home = 0; home < 12; ++home) {
    input.append("0\n").append(1, static_cast<char>(96 + home)).append("\n");
    expected.append(W).append("Comparies: 1\r\n").append(std::to_string(home)).append("\r\n");
    expected.append(P);
  }
  input += "0\nk`\n2\nk`\n4\n";  // home 11, absent
  expected += W + "Comparies: 12\r\nNelza dobavit v hash table\r\n" + P;
  expected += W + "Nenaideno eto slovo!\r\nComparies: 23\r\n" + P;
  FakeSystem system;
  system.ScriptInput(input);
  EXPECT_EQ(RunWordhash(system), 0);
  EXPECT_EQ(system.Output(), kMenu + expected);
}

// For each device read, the last output write made before it ("" for none).
std::vector<std::string> WriteBeforeEachRead(const FakeSystem& system) {
  std::vector<std::string> before;
  std::string last;
  for (const FakeSystem::Call& call : system.log) {
    if (call.kind == FakeSystem::Kind::kWrite) {
      last = call.bytes;
    } else if (call.kind == FakeSystem::Kind::kRead) {
      before.push_back(last);
    }
  }
  return before;
}

TEST(DialogueDevice, TerminalGetsEachLineAndPromptInAWriteOfItsOwnBeforeTheNextRead) {
  FakeSystem system;
  system.output_device = Device::kTerminal;
  for (const char* line : {"0\r\n", "\r\n", "a\r\n", "2\r\n", "a\r\n", "4\r\n"}) {
    system.ScriptInput(line);
  }
  EXPECT_EQ(RunWordhash(system), 0);
  std::vector<std::string> writes = LinesOf(kMenu);
  writes.insert(writes.end(),
                {P, W, W, "Comparies: 1\r\n", "1\r\n", P, W, "Eto slovo naideni i nahodatsa po\r\n",
                 "Index is: 1\r\n", "Comparies: 1\r\n", P});
  EXPECT_EQ(system.Writes(), writes);
  EXPECT_EQ(WriteBeforeEachRead(system), (std::vector<std::string>{P, W, W, P, W, P}));
}

TEST(DialogueDevice, FileGetsFullBlocksWhileItWaitsAndTheRestAtTheEnd) {
  FakeSystem system;
  system.ScriptInput("3\r\n");
  system.ScriptInput("4\r\n");
  EXPECT_EQ(RunWordhash(system), 0);
  // Only the full block the listing filled went out before the next read; the prompt waits
  // in the buffer, and goes out with the rest in one write.
  const std::string output = kMenu + P + kEmptyListing + P;
  EXPECT_EQ(WriteBeforeEachRead(system), (std::vector<std::string>{"", output.substr(0, 128)}));
  EXPECT_EQ(system.Writes(), (std::vector<std::string>{output.substr(0, 128), output.substr(128)}));
}

}  // namespace

}  // namespace wordhash
