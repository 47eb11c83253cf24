// SPDX-License-Identifier: MIT
#include "console/failure_report.h"

#include <gtest/gtest.h>

#include <regex>
#include <set>
#include <string>
#include <vector>

#include "console/in_out_error.h"
#include "console/program.h"
#include "dialogue_test.h"
#include "fake_system.h"

namespace {

using Device = SystemInterface::Device;

std::string Position(const std::string& report) {
  std::smatch match;
  EXPECT_TRUE(std::regex_search(report, match, std::regex(" at ([0-9A-F]{8})\\.")));
  return match[1];
}

std::string ExpectedReport(const std::string& kind, const std::string& message) {
  return "Exception " + kind + " in module wordhash at XXXXXXXX.\r\n" + message + "\r\n";
}

TEST(InOutErrorMessageTest, TableCodesHaveTheirTextsAndOthersTheirNumber) {
  const std::vector<std::pair<int, std::string>> cases = {
      {2, "File not found"},          {3, "Invalid filename"},          {4, "Too many open files"},
      {5, "File access denied"},      {100, "Read beyond end of file"}, {101, "Disk full"},
      {106, "Invalid numeric input"}, {104, "I/O error 104"},           {105, "I/O error 105"},
      {32, "I/O error 32"},           {1005, "I/O error 1005"},         {-1, "I/O error -1"}};
  for (const auto& [code, message] : cases) {
    EXPECT_EQ(InOutErrorMessage(code).View(), message) << code;
  }
}

TEST(FormatFailureReportTest, FillsTheTemplate) {
  EXPECT_EQ(FormatFailureReport("EInOutError", "wordhash", 0x4D2E, "I/O error 105").View(),
            "Exception EInOutError in module wordhash at 00004D2E.\r\nI/O error 105.\r\n");
  EXPECT_EQ(FormatFailureReport("E", "m", 0xABCDEF12, "Ends in a stop.").View(),
            "Exception E in module m at ABCDEF12.\r\nEnds in a stop.\r\n");
  EXPECT_EQ(FormatFailureReport("E", "m", 0, "").View(),
            "Exception E in module m at 00000000.\r\n\r\n");
  EXPECT_EQ(FormatFailureReport("E", "m", static_cast<std::uintptr_t>(0x123456789AULL), "x").View(),
            "Exception E in module m at 3456789A.\r\nx.\r\n");
}

struct FailureCase {
  const char* name;
  std::string input;
  Device output_device;
  std::map<std::size_t, int> failing_writes;
  int read_error;      // a read failing with this code after the input, 0 for none
  std::string output;  // all standard output received
  std::string report;  // masked
  std::string calls;
};

class FailureTest : public testing::TestWithParam<FailureCase> {};

TEST_P(FailureTest, ReportsOnceAfterTheOutput) {
  const FailureCase& test = GetParam();
  FakeSystem system;
  system.output_device = test.output_device;
  system.failing_writes = test.failing_writes;
  system.ScriptInput(test.input);
  if (test.read_error != 0) {
    system.ScriptReadError(test.read_error);
  }
  EXPECT_EQ(RunWordhash(system), 1);
  EXPECT_EQ(system.Output(), test.output);
  ASSERT_EQ(system.error_writes.size(), 2u);
  EXPECT_EQ(MaskedPosition(system.error_writes[0]), test.report);
  EXPECT_EQ(system.error_writes[1], "\r\n");
  EXPECT_EQ(system.calls, test.calls);
}

const std::string kFirstBlock =
    (kMenu + kCommandPrompt + Listing({"", "", "", "", "", "", "", "", "", "", "", ""}))
        .substr(0, 128);

INSTANTIATE_TEST_SUITE_P(
    Failures, FailureTest,
    testing::Values(FailureCase{"OutputCannotBeAttached",
                                "4\r\n",
                                Device::kMissing,
                                {},
                                0,
                                "",
                                ExpectedReport("EInOutError", "I/O error 105."),
                                "Oee"},
                    FailureCase{"ReadFailsWithOutputPending",
                                "",
                                Device::kFileOrPipe,
                                {},
                                21,
                                kMenu + kCommandPrompt,
                                ExpectedReport("EInOutError", "I/O error 21."),
                                "OIrroee"},
                    FailureCase{"ReadFailsOnATerminal",
                                "",
                                Device::kTerminal,
                                {},
                                5,
                                kMenu + kCommandPrompt,
                                ExpectedReport("EInOutError", "File access denied."),
                                "OoooooIrree"},
                    FailureCase{"FirstBlockWriteFails",
                                "3\r\n4\r\n",
                                Device::kFileOrPipe,
                                {{0, 28}},
                                0,
                                "",
                                ExpectedReport("EInOutError", "I/O error 28."),
                                "OIrfee"},
                    FailureCase{"SecondBlockWriteFailsAndNothingFollows",
                                "3\r\n3\r\n4\r\n",
                                Device::kFileOrPipe,
                                {{1, 32}},
                                0,
                                kFirstBlock,
                                ExpectedReport("EInOutError", "I/O error 32."),
                                "OIrofee"},
                    FailureCase{"FinalWriteFails",
                                "4\r\n",
                                Device::kFileOrPipe,
                                {{0, 101}},
                                0,
                                "",
                                ExpectedReport("EInOutError", "Disk full."),
                                "OIrfee"},
                    FailureCase{"FlushBeforeTheReportFails",
                                "",
                                Device::kFileOrPipe,
                                {{0, 32}},
                                2,
                                "",
                                ExpectedReport("EInOutError", "File not found."),
                                "OIrrfee"},
                    FailureCase{"TerminalWriteFailsMidMenu",
                                "",
                                Device::kTerminal,
                                {{2, 5}},
                                0,
                                "0 - Dobavit v hash table\r\n2 - Poisk hash table\r\n",
                                ExpectedReport("EInOutError", "File access denied."),
                                "Ooofee"}),
    [](const testing::TestParamInfo<FailureCase>& param) { return param.param.name; });

TEST(FailureReportTest, OutOfMemoryIsReportedWithItsOwnKindAfterPendingOutput) {
  FakeSystem system;
  system.ScriptInput("0\r\n");
  system.reads.push_back({.bytes = "", .error = 0, .raise = FakeSystem::Raise::kOutOfMemory});
  EXPECT_EQ(RunWordhash(system), 1);
  EXPECT_EQ(system.Output(), kMenu + kCommandPrompt + kWordPrompt);
  ASSERT_EQ(system.error_writes.size(), 2u);
  EXPECT_EQ(MaskedPosition(system.error_writes[0]),
            ExpectedReport("EOutOfMemory", "Out of memory."));
}

TEST(FailureReportTest, AnyOtherFailureIsReportedWithItsMessage) {
  FakeSystem system;
  system.ScriptInput("3\r\n");
  system.reads.push_back({.bytes = "", .error = 0, .raise = FakeSystem::Raise::kOtherFailure});
  EXPECT_EQ(RunWordhash(system), 1);
  ASSERT_EQ(system.error_writes.size(), 2u);
  EXPECT_EQ(MaskedPosition(system.error_writes[0]),
            ExpectedReport("Exception", "Scripted failure."));
  EXPECT_EQ(system.Output().substr(system.Output().size() - 15), kCommandPrompt);
}

TEST(FailureReportTest, FailureIsPassedOnWhenADebuggerTakesIt) {
  FakeSystem system;
  system.debugger_attached = true;
  system.ScriptReadError(5);
  EXPECT_THROW(RunWordhash(system), EInOutError);
  EXPECT_TRUE(system.error_writes.empty());
}

TEST(FailureReportTest, NamesTheModuleTheSystemGives) {
  FakeSystem system;
  system.output_device = Device::kMissing;
  system.module_name = "wh.exe";
  RunWordhash(system);
  ASSERT_FALSE(system.error_writes.empty());
  EXPECT_EQ(MaskedPosition(system.error_writes[0]).substr(0, 40),
            "Exception EInOutError in module wh.exe a");
}

TEST(FailureReportTest, DifferentStatementsGiveDifferentPositions) {
  const auto report_of = [](FakeSystem& system) {
    RunWordhash(system);
    return system.error_writes.empty() ? std::string() : system.error_writes[0];
  };
  FakeSystem menu_line;
  menu_line.output_device = Device::kMissing;  // the first menu line
  FakeSystem command_read;
  command_read.ScriptReadError(5);
  FakeSystem word_read;
  word_read.ScriptInput("0\r\n");
  word_read.ScriptReadError(5);
  FakeSystem final_write;
  final_write.ScriptInput("4\r\n");
  final_write.failing_writes[0] = 5;
  FakeSystem listing_line;
  listing_line.ScriptInput("3\r\n");
  listing_line.failing_writes[0] = 5;
  const std::set<std::string> positions = {
      Position(report_of(menu_line)), Position(report_of(command_read)),
      Position(report_of(word_read)), Position(report_of(final_write)),
      Position(report_of(listing_line))};
  EXPECT_EQ(positions.size(), 5u);
}

}  // namespace
