// SPDX-License-Identifier: MIT
#include "console/console_io.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "console/in_out_error.h"
#include "fake_system.h"

namespace wordhash {

namespace {

using Device = SystemInterface::Device;
using Kind = FakeSystem::Kind;
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

// Text closed by a line end ('L'), written as a prompt ('P'), or left open ('-').
struct Piece {
  std::string text;
  char end;
};

struct BufferingCase {
  const char* name;
  Device device;
  std::vector<Piece> pieces;
  Writes before_flush;  // the device writes once the pieces are written
  Writes after_flush;   // and after the final flush
};

class ConsoleBuffering : public testing::TestWithParam<BufferingCase> {};

TEST_P(ConsoleBuffering, WritesThese) {
  const BufferingCase& test = GetParam();
  FakeSystem system;
  system.output_device = test.device;
  ConsoleIO console(system);
  for (const Piece& piece : test.pieces) {
    if (piece.end == 'P') {
      console.WritePrompt(piece.text);
      continue;
    }
    console.WriteText(piece.text);
    if (piece.end == 'L') {
      console.EndLine();
    }
  }
  EXPECT_EQ(system.Writes(), test.before_flush);
  console.FlushOutputAndCheck();
  EXPECT_EQ(system.Writes(), test.after_flush);
}

const std::string A100 = std::string(100, 'a') + "\r\nEnter command: ";
const std::string kBlocks = A100 + std::string(300, 'b') + "\r\n";
const std::string kBinary("a\nb\xff\x00z", 6);

INSTANTIATE_TEST_SUITE_P(
    Devices, ConsoleBuffering,
    testing::Values(
        // A file or pipe gets nothing until the buffer fills, then blocks of 128, then the rest.
        BufferingCase{"FilePromptStaysBuffered",
                      Device::kFileOrPipe,
                      {{std::string(100, 'a'), 'L'}, {"Enter command: ", 'P'}},
                      {},
                      {A100}},
        BufferingCase{
            "FileGetsBlocksOf128",
            Device::kFileOrPipe,
            {{std::string(100, 'a'), 'L'}, {"Enter command: ", 'P'}, {std::string(300, 'b'), 'L'}},
            {kBlocks.substr(0, 128), kBlocks.substr(128, 128), kBlocks.substr(256, 128)},
            {kBlocks.substr(0, 128), kBlocks.substr(128, 128), kBlocks.substr(256, 128),
             kBlocks.substr(384)}},
        BufferingCase{"ExactlyFullBufferIsWrittenAtOnce",
                      Device::kFileOrPipe,
                      {{std::string(126, 'x'), 'L'}},
                      {std::string(126, 'x') + "\r\n"},
                      {std::string(126, 'x') + "\r\n"}},
        BufferingCase{"TextUnchangedWithNoCrAddedToItsLineFeeds",
                      Device::kFileOrPipe,
                      {{kBinary, 'L'}},
                      {},
                      {kBinary + "\r\n"}},
        // A terminal gets every line and prompt at once, and a line not before its end.
        BufferingCase{"TerminalGetsEachLineAndPrompt",
                      Device::kTerminal,
                      {{"Comparies: 3", 'L'}, {"Enter Slovo: ", 'P'}, {"", 'L'}, {"open", '-'}},
                      {"Comparies: 3\r\n", "Enter Slovo: ", "\r\n"},
                      {"Comparies: 3\r\n", "Enter Slovo: ", "\r\n", "open"}},
        BufferingCase{"TerminalLineLongerThanTheBuffer",
                      Device::kTerminal,
                      {{std::string(200, 'w'), 'L'}},
                      {std::string(128, 'w'), std::string(72, 'w') + "\r\n"},
                      {std::string(128, 'w'), std::string(72, 'w') + "\r\n"}}),
    [](const testing::TestParamInfo<BufferingCase>& param) { return param.param.name; });

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
  system.failing_calls[{Kind::kWrite, 2}] = 28;
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

// One read statement: 'C' ReadCommandChar, 'W' ReadWord.
void ReadOnce(ConsoleIO& console, char operation) {
  if (operation == 'C') {
    console.ReadCommandChar();
  } else {
    ReadWordText(console);
  }
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

// Once a line is cut short by the end of input, the end is final: every later read, of a
// command or a word, gives the end without asking the device, whatever it would give.
TEST(ConsoleInputEnd, IsFinalOnceALineIsCutShort) {
  const std::vector<std::pair<char, std::string>> first_reads = {
      {'C', "3"}, {'W', ""}, {'W', "ab"}, {'W', "\r\r"}, {'W', "ab\x1a"}};
  for (const auto& [operation, input] : first_reads) {
    FakeSystem system;
    system.ScriptInput(input);
    ConsoleIO console(system);
    ReadOnce(console, operation);
    system.ScriptInput("never read\r\n");
    const std::size_t reads = system.CountOf(FakeSystem::Kind::kRead);
    EXPECT_EQ(ReadWordText(console), std::nullopt) << input;
    EXPECT_EQ(console.ReadCommandChar(), 26) << input;
    EXPECT_EQ(system.CountOf(FakeSystem::Kind::kRead), reads) << input;
  }
}

// A read that fails, or standard input that cannot be attached, raises its code from either
// read statement; an unattached input is never read.
TEST(ConsoleInputFailures, ReadsRaiseTheirCode) {
  for (const bool attachable : {true, false}) {
    for (const char operation : {'C', 'W'}) {
      FakeSystem system;
      system.input_attachable = attachable;
      system.failing_calls[{Kind::kRead, 1}] = 21;
      ConsoleIO console(system);
      EXPECT_EQ(CodeOf([&] { ReadOnce(console, operation); }), attachable ? 21 : 104) << operation;
      // Attached: the failed read, then the line skip's read on.
      EXPECT_EQ(system.CountOf(FakeSystem::Kind::kRead), attachable ? 2u : 0u) << operation;
    }
  }
}

TEST(ConsoleInputFailures, EveryPartOfAStatementIsAttemptedAndTheLastCodeWins) {
  FakeSystem system;
  system.reads.push_back({"ab"});
  // The read that ends the word fails, and then the skip's.
  system.failing_calls = {{{Kind::kRead, 2}, 5}, {{Kind::kRead, 3}, 13}};
  ConsoleIO console(system);
  EXPECT_EQ(CodeOf([&] { ReadWordText(console); }), 13);
  EXPECT_EQ(system.CountOf(FakeSystem::Kind::kRead), 3u);
}

TEST(ConsoleInputFailures, FailedReadLeavesNothingSoTheDeviceIsAskedAgain) {
  FakeSystem system;
  system.ScriptInput("\n");  // a byte that a failed read must not serve again
  system.failing_calls[{Kind::kRead, 2}] = 5;
  system.ScriptInput("skipped\r\n4\r\n");
  ConsoleIO console(system);
  EXPECT_EQ(console.ReadCommandChar(), '\n');
  // The line skip of the same statement reads on; a later success leaves the code alone.
  EXPECT_EQ(CodeOf([&] { console.ReadCommandChar(); }), 5);
  EXPECT_EQ(console.ReadCommandChar(), '4');
}

}  // namespace

}  // namespace wordhash
