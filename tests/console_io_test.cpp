// SPDX-License-Identifier: MIT
#include "console/console_io.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "console/in_out_error.h"
#include "fake_system.h"

namespace wordhash {

namespace {

using Device = SystemInterface::Device;
using Writes = std::vector<std::string>;

int CodeOf(auto&& statement) {
  try {
    statement();
  } catch (const EInOutError& failure) {
    return failure.code();
  }
  return 0;
}

// ---- Output -------------------------------------------------------------------------

TEST(ConsoleOutput, FileGetsNothingUntilTheBufferFillsThenBlocksOf128) {
  FakeSystem system;
  ConsoleIO console(system);
  console.WriteText(std::string(100, 'a'));
  console.EndLine();
  console.WritePrompt("Enter command: ");
  EXPECT_TRUE(system.Writes().empty()) << "a prompt stays buffered on a file or pipe";

  console.WriteText(std::string(300, 'b'));
  console.EndLine();
  ASSERT_EQ(system.Writes().size(), 3u);
  for (const std::string& block : system.Writes()) {
    EXPECT_EQ(block.size(), 128u);
  }
  console.FlushOutputAndCheck();
  ASSERT_EQ(system.Writes().size(), 4u);
  EXPECT_EQ(system.Output(),
            std::string(100, 'a') + "\r\nEnter command: " + std::string(300, 'b') + "\r\n");
}

TEST(ConsoleOutput, ExactlyFullBufferIsWrittenAtOnce) {
  FakeSystem system;
  ConsoleIO console(system);
  console.WriteText(std::string(126, 'x'));
  console.EndLine();
  EXPECT_EQ(system.Writes(), Writes{std::string(126, 'x') + "\r\n"});
  console.FlushOutputAndCheck();
  EXPECT_EQ(system.Writes().size(), 1u) << "nothing left to write at the end";
}

TEST(ConsoleOutput, TerminalGetsEveryLineAndPromptAtOnce) {
  FakeSystem system;
  system.output_device = Device::kTerminal;
  ConsoleIO console(system);
  console.WriteText("Comparies: ");
  console.WriteInteger(3);
  EXPECT_TRUE(system.Writes().empty()) << "a line goes out at its end, not before";
  console.EndLine();
  console.WritePrompt("Enter Slovo: ");
  console.EndLine();
  EXPECT_EQ(system.Writes(), (Writes{"Comparies: 3\r\n", "Enter Slovo: ", "\r\n"}));
}

TEST(ConsoleOutput, TerminalLineLongerThanTheBufferGoesOutInBlocksThenTheRest) {
  FakeSystem system;
  system.output_device = Device::kTerminal;
  ConsoleIO console(system);
  console.WriteText(std::string(200, 'w'));
  console.EndLine();
  EXPECT_EQ(system.Writes(), (Writes{std::string(128, 'w'), std::string(72, 'w') + "\r\n"}));
}

TEST(ConsoleOutput, IntegersAreBareDecimal) {
  const std::vector<std::pair<std::int32_t, std::string>> cases = {{0, "0"},
                                                                   {-7, "-7"},
                                                                   {11, "11"},
                                                                   {23, "23"},
                                                                   {INT32_MAX, "2147483647"},
                                                                   {INT32_MIN, "-2147483648"}};
  for (const auto& [value, text] : cases) {
    FakeSystem system;
    ConsoleIO console(system);
    console.WriteInteger(value);
    console.EndLine();
    console.FlushOutputAndCheck();
    EXPECT_EQ(system.Output(), text + "\r\n") << value;
  }
}

TEST(ConsoleOutput, TextIsWrittenUnchangedWithNoCrAddedToItsOwnLineFeeds) {
  FakeSystem system;
  ConsoleIO console(system);
  console.WriteText(std::string("a\nb\xff\x00z", 6));
  console.EndLine();
  console.FlushOutputAndCheck();
  EXPECT_EQ(system.Output(), std::string("a\nb\xff\x00z\r\n", 8));
}

TEST(ConsoleOutput, UnattachableOutputFailsEveryStatementWith105AndWritesNothing) {
  FakeSystem system;
  system.output_device = Device::kMissing;
  ConsoleIO console(system);
  EXPECT_EQ(CodeOf([&] { console.EndLine(); }), 105);
  EXPECT_EQ(CodeOf([&] { console.WritePrompt("Enter command: "); }), 105);
  EXPECT_EQ(CodeOf([&] { console.FlushOutputAndCheck(); }), 0)
      << "nothing to flush, nothing stored";
  EXPECT_EQ(system.CountOf(FakeSystem::Kind::kWrite), 0u);
}

TEST(ConsoleOutput, FailedWriteRaisesItsCodeAndDropsEverythingAfterIt) {
  FakeSystem system;
  system.failing_calls[2] = 28;  // after attaching, the second write
  ConsoleIO console(system);
  console.WriteText(std::string(130, 'a'));  // first block goes out
  EXPECT_EQ(CodeOf([&] {
              console.WriteText(std::string(200, 'b'));  // second block fails
              console.WriteText(std::string(200, 'c'));
              console.EndLine();
            }),
            28);
  console.FlushOutput();
  EXPECT_EQ(system.Writes(), Writes{std::string(128, 'a')});
  EXPECT_EQ(system.CountOf(FakeSystem::Kind::kWrite), 2u) << "no write after the failed one";
}

TEST(ConsoleOutput, FailedFinalWriteIsRaised) {
  FakeSystem system;
  system.failing_calls[1] = 101;  // after attaching, the first write
  ConsoleIO console(system);
  console.WritePrompt("Enter command: ");
  EXPECT_EQ(CodeOf([&] { console.FlushOutputAndCheck(); }), 101);
}

// ---- Input --------------------------------------------------------------------------

// One read operation and what it must give: 'C' ReadCommandChar, 'W' ReadWord.
struct Step {
  char operation;
  std::string expected;  // the word, or the command byte as a one-byte string
};

struct ReadCase {
  const char* name;
  std::vector<std::string> reads;  // each served by one device read
  std::vector<Step> steps;
  bool at_end_afterwards;
};

std::string Byte(int value) {
  return std::string(1, static_cast<char>(value));
}

// True when a 26 stands at the read position: a command read gives it without a device read.
bool AtEndOfInput(ConsoleIO& console, const FakeSystem& system) {
  const std::size_t reads = system.CountOf(FakeSystem::Kind::kRead);
  return console.ReadCommandChar() == 26 && system.CountOf(FakeSystem::Kind::kRead) == reads;
}

class ConsoleInput : public testing::TestWithParam<ReadCase> {};

TEST_P(ConsoleInput, ReadsAsScripted) {
  const ReadCase& test = GetParam();
  FakeSystem system;
  for (const std::string& read : test.reads) {
    system.reads.push_back({read});
  }
  ConsoleIO console(system);
  for (std::size_t i = 0; i < test.steps.size(); ++i) {
    const Step& step = test.steps[i];
    const std::string got = step.operation == 'C' ? Byte(console.ReadCommandChar())
                                                  : ReadWordText(console).value_or("(input ended)");
    EXPECT_EQ(got, step.expected) << "step " << i;
  }
  EXPECT_EQ(AtEndOfInput(console, system), test.at_end_afterwards);
}

const std::string kLong600 = std::string(300, 'x') + std::string(300, 'y');

INSTANTIATE_TEST_SUITE_P(
    Lines, ConsoleInput,
    testing::Values(
        ReadCase{"CommandIsTheFirstByteAndTheLineIsConsumed",
                 {"3abc\r\n4\r\n"},
                 {{'C', "3"}, {'C', "4"}},
                 false},
        ReadCase{"EmptyCrLfLineGivesCr", {"\r\n4\r\n"}, {{'C', "\r"}, {'C', "4"}}, false},
        // An empty line is consumed alone, whatever its line end and wherever reads split it.
        ReadCase{"EmptyLfLineGivesLfAlone", {"\n3\n4\n"}, {{'C', "\n"}, {'C', "3"}}, false},
        ReadCase{"EmptyLfLineAloneInARead", {"\n", "3\n"}, {{'C', "\n"}, {'C', "3"}}, false},
        ReadCase{"EmptyCrLfLineSplitByReads", {"\r", "\n3\n"}, {{'C', "\r"}, {'C', "3"}}, false},
        ReadCase{"WordKeepsSpacesAtBothEnds", {"  a b  \r\n"}, {{'W', "  a b  "}}, false},
        ReadCase{"CrNeverBelongsToAWord", {"ab\rcd\r\n"}, {{'W', "abcd"}}, false},
        ReadCase{"LoneCrDoesNotEndALine", {"3\rx\n4\n"}, {{'C', "3"}, {'C', "4"}}, false},
        ReadCase{"EmptyWordConsumesItsLine", {"\r\nab\r\n"}, {{'W', ""}, {'W', "ab"}}, false},
        ReadCase{"BytesPassUnchanged", {"\xff\x80\x01 \t\r\n"}, {{'W', "\xff\x80\x01 \t"}}, false},
        ReadCase{"LineOf600BytesOverManyReads",
                 {kLong600.substr(0, 128), kLong600.substr(128, 128), kLong600.substr(256, 128),
                  kLong600.substr(384, 128), kLong600.substr(512) + "\r\nnext\r\n"},
                 {{'W', kLong600}, {'W', "next"}},
                 false},
        ReadCase{"CrAndLfSplitAcrossReads", {"ab\r", "\ncd\n"}, {{'W', "ab"}, {'W', "cd"}}, false},
        ReadCase{"LfFirstInARefill", {"ab", "\ncd\n"}, {{'W', "ab"}, {'W', "cd"}}, false},
        ReadCase{"CommandLineSpreadOverReads",
                 {"3ab", "cd", "\r\n4\n"},
                 {{'C', "3"}, {'C', "4"}},
                 false},
        ReadCase{"LastLineWithoutLineEnd", {"abc"}, {{'W', "abc"}}, true},
        ReadCase{"LastCommandWithoutLineEnd", {"3"}, {{'C', "3"}, {'C', Byte(26)}}, true},
        ReadCase{
            "EndOfInputGivesMarkerForEveryCommand", {}, {{'C', Byte(26)}, {'C', Byte(26)}}, true},
        ReadCase{"MarkerFirstOnACommandLineIsNeverPassed",
                 {"\x1a"
                  "3\r\n4\r\n"},
                 {{'C', Byte(26)}, {'C', Byte(26)}},
                 true},
        ReadCase{"MarkerInsideAWordEndsItAndTheLineIsSkipped",
                 {"ab\x1a"
                  "cd\r\nxy\r\n"},
                 {{'W', "ab"}, {'W', "xy"}},
                 false},
        ReadCase{"MarkerFirstInARefillStaysPending",
                 {"ab",
                  "\x1a"
                  "cd\r\n"},
                 {{'W', "ab"}, {'C', Byte(26)}},
                 true},
        ReadCase{"MarkerLaterInARefillIsConsumed",
                 {"ab",
                  "c\x1a"
                  "d\r\nxy\n"},
                 {{'W', "abc"}, {'W', "xy"}},
                 false},
        ReadCase{"WordAtEndOfInputIsNoneAndLeavesTheMarker",
                 {"4\n"},
                 {{'C', "4"}, {'W', "(input ended)"}},
                 true}),
    [](const testing::TestParamInfo<ReadCase>& param) { return param.param.name; });

TEST(ConsoleInputLong, LinesOfMegabytesComeBackWhole) {
  // Long lines are gathered in pieces; no byte may be lost or doubled at their seams.
  std::string line;
  std::string expected;
  for (int i = 0; line.size() < (3u << 20) + 1000; ++i) {
    const std::string part = std::to_string(i) + (i % 7 == 0 ? "\r" : " ");
    line += part;
    expected += part.back() == '\r' ? part.substr(0, part.size() - 1) : part;
  }
  FakeSystem system;
  system.ScriptInput(line + "\r\nnext\r\n");
  ConsoleIO console(system);
  EXPECT_EQ(ReadWordText(console), expected);
  EXPECT_EQ(ReadWordText(console), "next");
}

TEST(ConsoleInputEnd, CommandReadsAtEndOfInputDoNotTouchTheDevice) {
  FakeSystem system;
  system.ScriptInput("4\r\n");
  ConsoleIO console(system);
  console.ReadCommandChar();
  EXPECT_EQ(console.ReadCommandChar(), 26);
  const std::size_t reads = system.CountOf(FakeSystem::Kind::kRead);
  EXPECT_EQ(console.ReadCommandChar(), 26);
  EXPECT_EQ(console.ReadCommandChar(), 26);
  EXPECT_EQ(system.CountOf(FakeSystem::Kind::kRead), reads);
}

TEST(ConsoleInputEnd, SecondWordAtEndOfInputConsumesTheMarkerAndReadsTheDeviceAgain) {
  FakeSystem system;
  ConsoleIO console(system);
  EXPECT_EQ(ReadWordText(console), std::nullopt);
  EXPECT_EQ(system.CountOf(FakeSystem::Kind::kRead), 1u);
  system.ScriptInput("discarded\r\nkept\r\n");
  EXPECT_EQ(ReadWordText(console), "");
  EXPECT_EQ(system.CountOf(FakeSystem::Kind::kRead), 2u);
  EXPECT_EQ(ReadWordText(console), "kept");
}

TEST(ConsoleInputFailures, ReadErrorRaisesItsCode) {
  for (const char operation : {'C', 'W'}) {
    FakeSystem system;
    system.failing_calls[1] = 21;  // after attaching, the first read
    ConsoleIO console(system);
    EXPECT_EQ(CodeOf([&] {
                operation == 'C' ? console.ReadCommandChar() : ReadWordText(console).has_value();
              }),
              21)
        << operation;
  }
}

TEST(ConsoleInputFailures, EveryPartOfAStatementIsAttemptedAndTheLastCodeWins) {
  FakeSystem system;
  system.reads.push_back({"ab"});
  system.failing_calls = {{2, 5}, {3, 13}};  // the read that ends the word, then the skip's
  ConsoleIO console(system);
  EXPECT_EQ(CodeOf([&] { ReadWordText(console); }), 13);
  EXPECT_EQ(system.CountOf(FakeSystem::Kind::kRead), 3u);
}

TEST(ConsoleInputFailures, FailedReadPlacesNoMarkerSoTheDeviceIsAskedAgain) {
  FakeSystem system;
  system.failing_calls[1] = 5;  // after attaching, the first read
  system.ScriptInput("skipped\r\n4\r\n");
  ConsoleIO console(system);
  // The line skip of the same statement reads on; a later success leaves the code alone.
  EXPECT_EQ(CodeOf([&] { console.ReadCommandChar(); }), 5);
  EXPECT_EQ(console.ReadCommandChar(), '4');
}

TEST(ConsoleInputFailures, UnattachableInputRaises104) {
  FakeSystem system;
  system.input_attachable = false;
  ConsoleIO console(system);
  EXPECT_EQ(CodeOf([&] { console.ReadCommandChar(); }), 104);
  EXPECT_EQ(CodeOf([&] { ReadWordText(console); }), 104);
  EXPECT_EQ(system.CountOf(FakeSystem::Kind::kRead), 0u);
}

}  // namespace

}  // namespace wordhash
