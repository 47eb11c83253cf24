// SPDX-License-Identifier: MIT
#include "app/failure_report.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "app/program.h"
#include "console/in_out_error.h"
#include "dialogue_test.h"
#include "fake_system.h"

namespace wordhash {

namespace {

using Device = SystemInterface::Device;
using Kind = FakeSystem::Kind;

std::string Position(const std::string& report) {
  std::smatch match;
  EXPECT_TRUE(std::regex_search(report, match, std::regex(" at ([0-9A-F]{8})\\.")));
  return match[1];
}

TEST(InOutErrorMessageTest, OwnCodesHaveTheirTextsAndOthersTheirNumber) {
  const std::vector<std::pair<int, std::string>> cases = {{5, "File access denied"},
                                                          {105, "I/O error 105"},
                                                          {32, "I/O error 32"},
                                                          {-1, "I/O error -1"}};
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
  // A long module name stays whole; an absurd one is cut, and the rest of the report survives.
  const std::string long_name(200, 'm');
  EXPECT_EQ(FormatFailureReport("E", long_name, 0, "x").View(),
            "Exception E in module " + long_name + " at 00000000.\r\nx.\r\n");
  EXPECT_TRUE(FormatFailureReport("E", std::string(5000, 'm'), 0, "x")
                  .View()
                  .ends_with("m at 00000000.\r\nx.\r\n"));
}

struct FailureCase {
  const char* name = "";
  std::string input{};
  Device output_device = Device::kFileOrPipe;
  std::map<FakeSystem::CallOf, int> failing_calls{};
  // What the read after the scripted input throws: memory or another failure.
  FakeSystem::Raise raise = FakeSystem::Raise::kNothing;
  std::string module = "wordhash";  // the program's file name, as the system gives it
  std::string output{};             // all standard output received
  std::string report{};             // masked
};

class FailureTest : public testing::TestWithParam<FailureCase> {};

// The report is made once, last, after the output that was pending; and once a write has
// failed, nothing more is written to standard output.
TEST_P(FailureTest, ReportsOnceAfterThePendingOutput) {
  const FailureCase& test = GetParam();
  FakeSystem system;
  system.output_device = test.output_device;
  system.failing_calls = test.failing_calls;
  system.module_name = test.module;
  system.ScriptInput(test.input);
  if (test.raise != FakeSystem::Raise::kNothing) {
    system.reads.push_back({.raise = test.raise});
  }
  EXPECT_EQ(RunWordhash(system), 1);
  EXPECT_EQ(system.Output(), test.output);
  ASSERT_GE(system.log.size(), 2u);
  const auto report = system.log.end() - 2;
  EXPECT_EQ(system.ErrorWrites().size(), 2u) << "standard error is used for the report alone";
  EXPECT_EQ(MaskedPosition(report[0].bytes + report[1].bytes), test.report);
  const auto failed_write =
      std::find_if(system.log.begin(), report, [](const FakeSystem::Call& call) {
        return call.kind == FakeSystem::Kind::kWrite && call.error != 0;
      });
  EXPECT_TRUE(failed_write == report || std::none_of(failed_write + 1, report,
                                                     [](const FakeSystem::Call& call) {
                                                       return call.kind == FakeSystem::Kind::kWrite;
                                                     }))
      << "a write after a failed one";
}

const std::string kEmptyListing = Listing();

INSTANTIATE_TEST_SUITE_P(
    Failures, FailureTest,
    testing::Values(FailureCase{.name = "ReadFailsWithOutputPending",
                                .failing_calls = {{{Kind::kRead, 1}, 21}},
                                .module = "wh.exe",
                                .output = kMenu + kCommandPrompt,
                                .report = ReportLines("I/O error 21.", "EInOutError", "wh.exe")},
                    // The read fails, its line skip reads on, and the flush before the report fails
                    // too: the report still comes, naming the read's failure.
                    FailureCase{.name = "FlushBeforeTheReportFails",
                                .failing_calls = {{{Kind::kRead, 1}, 2}, {{Kind::kWrite, 1}, 32}},
                                .report = ReportLines("File not found.")},
                    // Failures other than I/O are reported with their own kind and message.
                    FailureCase{.name = "OutOfMemory",
                                .input = "0\r\n",
                                .raise = FakeSystem::Raise::kOutOfMemory,
                                .output = kMenu + kCommandPrompt + kWordPrompt,
                                .report = ReportLines("Out of memory.", "EOutOfMemory")},
                    FailureCase{.name = "OtherFailure",
                                .input = "3\r\n",
                                .raise = FakeSystem::Raise::kOtherFailure,
                                .output = kMenu + kCommandPrompt + kEmptyListing + kCommandPrompt,
                                .report = ReportLines("Scripted failure.", "Exception")}),
    [](const testing::TestParamInfo<FailureCase>& param) { return param.param.name; });

TEST(FailureReportTest, FailureIsPassedOnWhenADebuggerTakesIt) {
  FakeSystem system;
  system.debugger_attached = true;
  system.failing_calls[{Kind::kRead, 1}] = 5;
  EXPECT_THROW(RunWordhash(system), EInOutError);
  EXPECT_TRUE(system.ErrorWrites().empty());
}

// Failures in five statements: a menu line, a command read, a word read, the final write and
// a listing line.
TEST(FailureReportTest, DifferentStatementsGiveDifferentPositions) {
  const std::vector<std::pair<std::string, FakeSystem::CallOf>> failures = {
      {"", {Kind::kAttachOutput, 1}},
      {"", {Kind::kRead, 1}},
      {"0\r\n", {Kind::kRead, 2}},
      {"4\r\n", {Kind::kWrite, 1}},
      {"3\r\n", {Kind::kWrite, 1}}};
  std::set<std::string> positions;
  for (const auto& [input, call] : failures) {
    FakeSystem system;
    system.ScriptInput(input);
    system.failing_calls[call] = 5;
    EXPECT_EQ(RunWordhash(system), 1);
    positions.insert(Position(system.ErrorWrites().at(0)));
  }
  EXPECT_EQ(positions.size(), failures.size());
}

}  // namespace

}  // namespace wordhash
