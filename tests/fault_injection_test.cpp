// SPDX-License-Identifier: MIT
// Every device call of a dialogue failed in turn, one run per call: each run must end in the
// report naming the injected failure, having written a gap-free prefix of the normal output
// and nothing after the failure.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "app/program.h"
#include "dialogue_test.h"
#include "fake_system.h"

namespace wordhash {

namespace {

using Device = SystemInterface::Device;

constexpr int kInjectedError = 70;

struct Scenario {
  const char* name;
  std::string input;
  Device output_device;
};

// Adds that probe, finds in every outcome, empty words, listings longer than 128 bytes.
const std::string kEveryCommand =
    "2\r\nempty\r\n0\r\nab\r\n0\r\nba\r\n0\r\nab\r\n0\r\n\r\nc`\r\n2\r\nba\r\n2\r\nab\r\n"
    "2\r\nzz\r\n2\r\nb`a\r\n2\r\n\r\n3\r\nx\r\n0\r\na long word past the short-string size\r\n"
    "3\r\n4\r\n";

class FaultInjection : public testing::TestWithParam<Scenario> {};

// The bytes standard output received from the first `count` device calls.
std::string OutputOfCalls(const FakeSystem& system, std::size_t count) {
  std::string all;
  for (std::size_t i = 0; i < count; ++i) {
    const FakeSystem::Call& call = system.log[i];
    if (call.kind == FakeSystem::Kind::kWrite && call.error == 0) {
      all += call.bytes;
    }
  }
  return all;
}

TEST_P(FaultInjection, EveryDeviceCallFailedOnce) {
  const Scenario& scenario = GetParam();
  FakeSystem clean;
  clean.output_device = scenario.output_device;
  clean.ScriptInput(scenario.input, 40);
  ASSERT_EQ(RunWordhash(clean), 0);
  const std::string normal_output = clean.Output();
  ASSERT_GT(normal_output.size(), 3 * 128u);
  RecordProperty("device_calls", static_cast<int>(clean.log.size()));

  std::map<FakeSystem::Kind, std::size_t> calls_of;
  for (std::size_t k = 0; k < clean.log.size(); ++k) {
    SCOPED_TRACE("device call " + std::to_string(k));
    const FakeSystem::Kind call = clean.log[k].kind;
    FakeSystem broken;
    broken.output_device = scenario.output_device;
    broken.ScriptInput(scenario.input, 40);
    broken.failing_calls[{call, ++calls_of[call]}] = kInjectedError;
    ASSERT_EQ(RunWordhash(broken), 1);

    const std::string code = call == FakeSystem::Kind::kAttachInput ? "104"
                             : call == FakeSystem::Kind::kAttachOutput
                                 ? "105"
                                 : std::to_string(kInjectedError);
    const std::vector<std::string> report = broken.ErrorWrites();
    ASSERT_EQ(report.size(), 2u);
    EXPECT_EQ(MaskedPosition(report[0] + report[1]), ReportLines("I/O error " + code + "."));

    const std::string output = broken.Output();
    EXPECT_EQ(normal_output.compare(0, output.size(), output), 0) << "not a prefix";
    // A failed write delivers nothing after it; on a terminal nothing is pending to flush.
    if (call == FakeSystem::Kind::kWrite || scenario.output_device == Device::kTerminal) {
      EXPECT_EQ(output, OutputOfCalls(clean, k)) << "bytes after the failure";
    }
    EXPECT_EQ(broken.log.back().kind, FakeSystem::Kind::kErrorWrite) << "the report comes last";
  }
}

INSTANTIATE_TEST_SUITE_P(Dialogues, FaultInjection,
                         testing::Values(Scenario{"ToAFile", kEveryCommand, Device::kFileOrPipe},
                                         Scenario{"ToATerminal", kEveryCommand, Device::kTerminal}),
                         [](const testing::TestParamInfo<Scenario>& param) {
                           return param.param.name;
                         });

}  // namespace

}  // namespace wordhash
